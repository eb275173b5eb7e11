# qv_add_applet(<name> MODULE <target> [SOURCES <files...>] [LIBS <libs...>]
#               [FILES <files or folders...>] [MODULES <module targets...>]
#               [CONFIG <key=value lines...>] [OUTPUT_DIRECTORY <dir>])
#
# An applet package "<name>.qva": a zip archive holding
#   qveapp.cfg   the applet configuration, generated: "main_w32=<module file>" on Windows,
#                "main_linux=<module file>" on Linux, then the CONFIG lines;
#   the applet module library of <target>;
#   the FILES, each at the top of the archive under its own name (folders with what they hold);
#   the libraries of the MODULES, other module libraries of this build that the applet brings
#   along (a renderer, loaders), beside its own.
# With SOURCES the module library <target> ("<target>.qvm") is made here from them, linked with
# the applet interfaces and LIBS; without, <target> is a module library made before (with
# qv_add_module). The module and the package land in OUTPUT_DIRECTORY (default: the current
# binary folder); the package is made by the target <name>_package, part of the default build,
# whose property QV_PACKAGE_FILE holds its path. The archive is written with CMake's own archive
# support: no other tool is needed.
#
# The same file serves the installed CMake package (find_package(QV)).
if(NOT DEFINED QV_APPLET_TARGET)
  set(QV_APPLET_TARGET qv_applet)
endif()
set(QV_PACK_APPLET_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/QVPackApplet.cmake)

function(qv_add_applet name)
  cmake_parse_arguments(ARG "" "MODULE;OUTPUT_DIRECTORY" "SOURCES;LIBS;FILES;MODULES;CONFIG"
                        ${ARGN})
  if(NOT ARG_MODULE)
    message(FATAL_ERROR "qv_add_applet(${name}): MODULE <target> is required")
  endif()
  if(NOT ARG_OUTPUT_DIRECTORY)
    set(ARG_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  get_filename_component(ARG_OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY} ABSOLUTE
                         BASE_DIR ${CMAKE_CURRENT_BINARY_DIR})
  if(ARG_SOURCES)
    qv_add_module(${ARG_MODULE} SOURCES ${ARG_SOURCES} LIBS ${ARG_LIBS} ${QV_APPLET_TARGET}
                  OUTPUT_DIRECTORY ${ARG_OUTPUT_DIRECTORY})
  elseif(NOT TARGET ${ARG_MODULE})
    message(FATAL_ERROR "qv_add_applet(${name}): no SOURCES and no target ${ARG_MODULE}")
  endif()
  # On the web the applet module is compiled into a program (qv_link_modules); no package of
  # module libraries is made.
  if(QV_TARGET_WEB)
    return()
  endif()

  if(QV_TARGET_WIN32)
    set(key main_w32)
  else()
    set(key main_linux)
  endif()
  set(configuration "${key}=$<TARGET_FILE_NAME:${ARG_MODULE}>\n")
  foreach(line IN LISTS ARG_CONFIG)
    string(APPEND configuration "${line}\n")
  endforeach()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.qva.work)
  file(GENERATE OUTPUT ${work}/qveapp.cfg CONTENT "${configuration}")

  set(files "")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${file})
  endforeach()
  foreach(module IN LISTS ARG_MODULES)
    list(APPEND files $<TARGET_FILE:${module}>)
  endforeach()
  set(package ${ARG_OUTPUT_DIRECTORY}/${name}.qva)
  file(GENERATE OUTPUT ${work}/pack.cmake CONTENT
"set(QV_PACKAGE \"${package}\")
set(QV_STAGE \"${work}/stage\")
set(QV_CONFIGURATION \"${work}/qveapp.cfg\")
set(QV_MODULE \"$<TARGET_FILE:${ARG_MODULE}>\")
set(QV_FILES \"${files}\")
include(\"${QV_PACK_APPLET_SCRIPT}\")
")
  add_custom_command(OUTPUT ${package}
    COMMAND ${CMAKE_COMMAND} -P ${work}/pack.cmake
    DEPENDS ${ARG_MODULE} ${ARG_MODULES} ${work}/qveapp.cfg ${work}/pack.cmake ${files}
            ${QV_PACK_APPLET_SCRIPT}
    COMMENT "Packing applet ${name}.qva"
    VERBATIM)
  add_custom_target(${name}_package ALL DEPENDS ${package})
  set_target_properties(${name}_package PROPERTIES QV_PACKAGE_FILE ${package})
endfunction()
