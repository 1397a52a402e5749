# Warnings, hardening and sanitizers for every target of the project.
add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
                    -Wformat=2 -Wimplicit-fallthrough
                    # Designated initializers leave the other members to their defaults.
                    -Wno-missing-field-initializers)
if(TAVELO_WERROR)
    add_compile_options(-Werror)
endif()
add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
add_compile_options(-fstack-protector-strong)

if(TAVELO_SANITIZE)
    add_compile_options(-fsanitize=${TAVELO_SANITIZE} -fno-omit-frame-pointer
                        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${TAVELO_SANITIZE})
endif()
