# qv_add_module(<name> SOURCES <files...> [LIBS <libs...>] [OUTPUT_DIRECTORY <dir>])
# A module library "<name>.qvm": the core and module system linked in (its own copy), exporting
# exactly CreateMod and ReleaseMod. Lands in the output directory beside the programs unless
# OUTPUT_DIRECTORY says otherwise.
function(qv_add_module name)
  cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX "${QV_MODULE_SUFFIX}")
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${name} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY}
      RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} qv_runtime)
  if(QV_TARGET_WIN32)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/modules/qvmodule.def)
  else()
    target_link_options(${name} PRIVATE
      -Wl,--version-script=${PROJECT_SOURCE_DIR}/modules/qvmodule.map)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/modules/qvmodule.map)
  endif()
  qv_set_warnings(${name})
endfunction()
