# qv_add_module(<name> SOURCES <files...> [LIBS <libs...>] [OUTPUT_DIRECTORY <dir>])
# A module library "<name>.qvm": the core and module system linked in (its own copy), exporting
# exactly CreateMod and ReleaseMod. Lands in the output directory beside the programs unless
# OUTPUT_DIRECTORY says otherwise.
#
# On the web there is no loading of code at run time that a blocking applet loop survives: a
# module target is an object library compiled into the programs that name it in
# qv_link_modules(<program> <modules...>). Its CreateMod/ReleaseMod pair is registered under the
# module's file name in the program's table of compiled-in modules (modules/ModuleExport.h), where
# the module manager finds it through the platform's library functions (platform/web/).
#
# The same file serves the installed CMake package (find_package(QV)), where the core is the
# imported target QV::qv_runtime and the export lists lie beside this file.
if(NOT DEFINED QV_MODULE_SUFFIX)
  set(QV_MODULE_SUFFIX ".qvm")
endif()
if(NOT DEFINED QV_TARGET_WIN32)
  set(QV_TARGET_WIN32 ${WIN32})
endif()
if(NOT DEFINED QV_TARGET_WEB)
  if(EMSCRIPTEN)
    set(QV_TARGET_WEB ON)
  else()
    set(QV_TARGET_WEB OFF)
  endif()
endif()
if(NOT DEFINED QV_RUNTIME_TARGET)
  set(QV_RUNTIME_TARGET qv_runtime)
endif()
# The export lists: modules/ in the source tree, beside this file once installed.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/qvmodule.map)
  set(QV_MODULE_EXPORTS_DIR ${CMAKE_CURRENT_LIST_DIR})
  set(QV_IN_SOURCE_TREE OFF)
else()
  get_filename_component(QV_MODULE_EXPORTS_DIR ${CMAKE_CURRENT_LIST_DIR}/../modules ABSOLUTE)
  set(QV_IN_SOURCE_TREE ON)
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

# qv_compile_in_module(<target> <file name> [<output directory>]): web only. Gives the object
# library <target>, the module library of that file name, its registration in the table of
# compiled-in modules: the file name, and the folder it lies in as seen from the program's
# directory, from the output directory a desktop build would put the library in (none, or one
# outside the programs' directory: the program's directory itself, where the programs find their
# modules on every target). The folder is created, so that programs run by node can enter and list
# it as on the desktop. Its entry points get names of their own, CreateMod_<target> and
# ReleaseMod_<target>, since one program holds every module.
function(qv_compile_in_module target file_name)
  qv_module_folder(folder "${ARGN}")
  if(folder)
    file(MAKE_DIRECTORY ${ARGN})
  endif()
  string(MAKE_C_IDENTIFIER ${target} id)
  target_compile_definitions(${target} PRIVATE
    QV_MODULE_FILE_NAME="${file_name}" QV_MODULE_FOLDER="${folder}"
    CreateMod=CreateMod_${id} ReleaseMod=ReleaseMod_${id})
endfunction()

# The folder of a module's output directory relative to the programs' one (where a program built
# for the desktop would find it), or nothing when it lies elsewhere.
function(qv_module_folder out directory)
  set(folder "")
  if(directory AND DEFINED CMAKE_RUNTIME_OUTPUT_DIRECTORY)
    file(RELATIVE_PATH folder ${CMAKE_RUNTIME_OUTPUT_DIRECTORY} ${directory})
    if(folder MATCHES "^\\.\\.")
      set(folder "")
    endif()
  endif()
  set(${out} "${folder}" PARENT_SCOPE)
endfunction()

# qv_link_modules(<program> <module targets...>)
# Web: compiles the modules into the program (their object files, so that the linker keeps their
# registrations, and what they link), each once however often it is named. Elsewhere the program
# loads the module libraries from beside itself at run time: they are only built along with it.
function(qv_link_modules program)
  foreach(module ${ARGN})
    if(NOT TARGET ${module})
      continue()
    endif()
    get_property(linked TARGET ${program} PROPERTY QV_LINKED_MODULES)
    if(module IN_LIST linked)
      continue()
    endif()
    set_property(TARGET ${program} APPEND PROPERTY QV_LINKED_MODULES ${module})
    if(QV_TARGET_WEB)
      target_link_libraries(${program} PRIVATE ${module})
    else()
      add_dependencies(${program} ${module})
    endif()
  endforeach()
endfunction()

# The installed package names its modules QV::<name>; the tree's go by both names, so that an
# applet's MODULES read the same in and out of the tree.
function(qv_module_alias name)
  if(QV_IN_SOURCE_TREE)
    add_library(QV::${name} ALIAS ${name})
  endif()
endfunction()

function(qv_add_module name)
  cmake_parse_arguments(ARG "" "OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  if(QV_TARGET_WEB)
    add_library(${name} OBJECT ${ARG_SOURCES})
    qv_module_alias(${name})
    qv_compile_in_module(${name} ${name}${QV_MODULE_SUFFIX} "${ARG_OUTPUT_DIRECTORY}")
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} ${QV_RUNTIME_TARGET})
    if(COMMAND qv_set_warnings)
      qv_set_warnings(${name})
    endif()
    return()
  endif()
  add_library(${name} MODULE ${ARG_SOURCES})
  qv_module_alias(${name})
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
