# zefrant_embed_text(TARGET SYMBOL FILE): compiles the text of FILE into TARGET as
# `extern const char SYMBOL[]` (UTF-8, NUL-terminated), regenerated when FILE changes.
function(zefrant_embed_text target symbol file)
  get_filename_component(abs ${file} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embed_${symbol}.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DIN=${abs} -DOUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedScript.cmake
    DEPENDS ${abs} ${PROJECT_SOURCE_DIR}/cmake/EmbedScript.cmake
    COMMENT "Embedding ${file}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
