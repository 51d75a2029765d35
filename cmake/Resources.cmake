# Compiles a module's .rc script into the standard .res format and links it into the module's
# loadable .rsrc section, where the host's resource reader finds it from the module handle.
find_program(QV_WINDRES NAMES x86_64-w64-mingw32-windres windres REQUIRED)

function(qv_add_resources target rc_file)
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  get_filename_component(rc_name ${rc_file} NAME_WE)
  get_filename_component(rc_dir ${rc_path} DIRECTORY)
  set(res_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}.res)
  set(asm_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}_rsrc.S)
  add_custom_command(
    OUTPUT ${res_file}
    COMMAND ${QV_WINDRES} --preprocessor=cpp --preprocessor-arg=-DRC_INVOKED
            --include-dir=${CMAKE_SOURCE_DIR} --include-dir=${rc_dir}
            -c 65001 -O res -i ${rc_path} -o ${res_file}
    DEPENDS ${rc_path} ${ARGN}
    IMPLICIT_DEPENDS C ${rc_path}
    COMMENT "Compiling resources ${rc_name}.rc"
    VERBATIM)
  file(WRITE ${asm_file}.in
    "    .section .rsrc,\"a\",@progbits\n"
    "    .balign 16\n"
    "    .incbin \"${res_file}\"\n"
    "    .section .note.GNU-stack,\"\",@progbits\n")
  configure_file(${asm_file}.in ${asm_file} COPYONLY)
  set_source_files_properties(${asm_file} PROPERTIES OBJECT_DEPENDS ${res_file})
  target_sources(${target} PRIVATE ${asm_file})
  set_property(TARGET ${target} APPEND PROPERTY QV_RES_FILE ${res_file})
endfunction()
