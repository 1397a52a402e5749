# tavelo_embed(TARGET SYMBOL FILE): compiles FILE into TARGET as the function
#   std::string_view tavelo::embedded::SYMBOL();
# declared in the generated header "embedded/SYMBOL.h". The bytes are read at build time,
# so editing or regenerating the file rebuilds it.
set(TAVELO_EMBED_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake)

function(tavelo_embed target symbol file)
    get_filename_component(file "${file}" ABSOLUTE)
    set(out_dir ${CMAKE_BINARY_DIR}/embedded)
    set(header ${out_dir}/embedded/${symbol}.h)
    set(source ${out_dir}/embedded/${symbol}.cpp)
    add_custom_command(
        OUTPUT ${header} ${source}
        COMMAND ${CMAKE_COMMAND} -DSYMBOL=${symbol} -DINPUT=${file} -DHEADER=${header}
                -DSOURCE=${source} -P ${TAVELO_EMBED_SCRIPT}
        DEPENDS ${file} ${TAVELO_EMBED_SCRIPT}
        COMMENT "Embedding ${symbol}"
        VERBATIM)
    target_sources(${target} PRIVATE ${source} ${header})
    # The target's own sources include the header: make it before any of them compiles, also
    # when this is called from a folder other than the target's.
    add_custom_target(tavelo_embed_${symbol} DEPENDS ${header} ${source})
    add_dependencies(${target} tavelo_embed_${symbol})
    target_include_directories(${target} PUBLIC ${out_dir})
endfunction()
