# Packs an applet package (run by the rule that qv_add_applet makes, with cmake -P). Expects
# QV_PACKAGE (the .qva to write), QV_STAGE (a scratch folder), QV_CONFIGURATION (the generated
# qveapp.cfg), QV_MODULE (the module library) and QV_FILES (data files and folders).
file(REMOVE_RECURSE "${QV_STAGE}")
file(MAKE_DIRECTORY "${QV_STAGE}")
file(COPY_FILE "${QV_CONFIGURATION}" "${QV_STAGE}/qveapp.cfg")
file(COPY "${QV_MODULE}" DESTINATION "${QV_STAGE}")
get_filename_component(module_name "${QV_MODULE}" NAME)
set(entries qveapp.cfg "${module_name}")
foreach(file IN LISTS QV_FILES)
  file(COPY "${file}" DESTINATION "${QV_STAGE}")
  get_filename_component(file_name "${file}" NAME)
  list(APPEND entries "${file_name}")
endforeach()
list(REMOVE_DUPLICATES entries)

# Paths in the archive are relative to the stage: the entries lie at its top.
file(REMOVE "${QV_PACKAGE}")
execute_process(
  COMMAND "${CMAKE_COMMAND}" -E chdir "${QV_STAGE}"
          "${CMAKE_COMMAND}" -E tar cf "${QV_PACKAGE}" --format=zip -- ${entries}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "could not write ${QV_PACKAGE}")
endif()
