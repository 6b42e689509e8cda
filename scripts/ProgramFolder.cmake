# quorvane_program_folder(<target> <data folder> <program folder>): a target that lays out the program folder from
# the shipped files. A shipped file is copied only where the program folder lacks it: the one there may be the
# operator's, written by the program (setting.cfg, language.ini), so its rule depends on nothing and never runs
# over it.
function(quorvane_program_folder target data_dir program_dir)
  file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${data_dir}/*)
  set(outputs)
  foreach(f ${data_files})
    file(RELATIVE_PATH rel ${data_dir} ${f})
    add_custom_command(OUTPUT ${program_dir}/${rel}
      COMMAND ${CMAKE_COMMAND} -E copy ${f} ${program_dir}/${rel}
      VERBATIM)
    list(APPEND outputs ${program_dir}/${rel})
  endforeach()
  add_custom_target(${target} ALL
    DEPENDS ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${program_dir}/AccessData ${program_dir}/temp)
endfunction()
