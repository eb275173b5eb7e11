# qv_add_module(<name> SOURCES <files...> [LIBS <libs...>] [OUTPUT_DIRECTORY <dir>])
# A module library "<name>.qvm": the core and module system linked in (its own copy), exporting
# exactly CreateMod and ReleaseMod. Lands in the output directory beside the programs unless
# OUTPUT_DIRECTORY says otherwise.
#
# qv_set_module_name(<target>): on ELF targets the library's SONAME is its file name, so that
# opening a module by its bare name finds it when it is already loaded, without a search of the
# library path (Windows finds a loaded DLL by its name the same way).
function(qv_set_module_name target)
  if(NOT QV_TARGET_WIN32)
    get_target_property(prefix ${target} PREFIX)
    get_target_property(suffix ${target} SUFFIX)
    get_target_property(base ${target} OUTPUT_NAME)
    if(NOT base)
      set(base ${target})
    endif()
    target_link_options(${target} PRIVATE "-Wl,-soname,${prefix}${base}${suffix}")
  endif()
endfunction()

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
  qv_set_module_name(${name})
  qv_set_warnings(${name})
endfunction()
