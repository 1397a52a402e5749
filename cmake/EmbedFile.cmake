# Writes HEADER and SOURCE that carry the bytes of INPUT as tavelo::embedded::SYMBOL().
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
string(REGEX REPLACE "(('\\\\x[0-9a-f][0-9a-f]',){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${HEADER}" "// Generated from ${INPUT}.\n#pragma once\n#include <string_view>\n"
     "namespace tavelo::embedded {\nstd::string_view ${SYMBOL}();\n}\n")
file(WRITE "${SOURCE}" "// Generated from ${INPUT}.\n#include \"embedded/${SYMBOL}.h\"\n"
     "namespace tavelo::embedded {\nnamespace {\nconstexpr char kBytes[${size} + 1] = {\n"
     "${bytes}'\\0'};\n}\n"
     "std::string_view ${SYMBOL}() { return {kBytes, ${size}}; }\n}\n")
