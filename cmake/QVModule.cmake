# qv_add_module(<name> SOURCES <files...> [LIBS <libs...>] [OUTPUT_DIRECTORY <dir>])
# A module library "<name>.qvm": the core and module system linked in (its own copy), exporting
# exactly CreateMod and ReleaseMod. Lands in the output directory beside the programs unless
# OUTPUT_DIRECTORY says otherwise.
#
# The same file serves the installed CMake package (find_package(QV)), where the core is the
# imported target QV::qv_runtime and the export lists lie beside this file.
if(NOT DEFINED QV_MODULE_SUFFIX)
  set(QV_MODULE_SUFFIX ".qvm")
endif()
if(NOT DEFINED QV_TARGET_WIN32)
  set(QV_TARGET_WIN32 ${WIN32})
endif()
if(NOT DEFINED QV_RUNTIME_TARGET)
  set(QV_RUNTIME_TARGET qv_runtime)
endif()
# The export lists: modules/ in the source tree, beside this file once installed.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/qvmodule.map)
  set(QV_MODULE_EXPORTS_DIR ${CMAKE_CURRENT_LIST_DIR})
else()
  get_filename_component(QV_MODULE_EXPORTS_DIR ${CMAKE_CURRENT_LIST_DIR}/../modules ABSOLUTE)
endif()

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
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX "${QV_MODULE_SUFFIX}"
    CXX_VISIBILITY_PRESET hidden C_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(ARG_OUTPUT_DIRECTORY)
    set_target_properties(${name} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY}
      RUNTIME_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  endif()
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${QV_RUNTIME_TARGET})
  if(QV_TARGET_WIN32)
    target_sources(${name} PRIVATE ${QV_MODULE_EXPORTS_DIR}/qvmodule.def)
  else()
    target_link_options(${name} PRIVATE -Wl,--version-script=${QV_MODULE_EXPORTS_DIR}/qvmodule.map)
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${QV_MODULE_EXPORTS_DIR}/qvmodule.map)
  endif()
  if(COMMAND qv_set_warnings)
    qv_set_warnings(${name})
  endif()
  qv_set_module_name(${name})
endfunction()
