# qv_add_applet(<name> MODULE <target> [SOURCES <files...>] [LIBS <libs...>]
#               [FILES <files or folders...>] [MODULES <modules...>]
#               [CONFIG <key=value lines...>] [OUTPUT_DIRECTORY <dir>])
#
# An applet package "<name>.qva": a zip archive holding
#   qveapp.cfg   the applet configuration, generated: "main_w32=<module file>" on Windows,
#                "main_linux=<module file>" on Linux, then the CONFIG lines;
#   the applet module library of <target>;
#   the FILES, each at the top of the archive under its own name (folders with what they hold);
#   the libraries of the MODULES, other module libraries that the applet brings along (a
#   renderer, loaders), beside its own: QV's modules by their names in the installed package
#   (QV::qvoglrenderer) or plainly (qvoglrenderer), both in and out of the QV tree, or modules
#   made with qv_add_module. Any other name stops the configuration ("unknown module").
# With SOURCES the module library <target> ("<target>.qvm") is made here from them, linked with
# the applet interfaces and LIBS; without, <target> is a module library made before (with
# qv_add_module). The module and the package land in OUTPUT_DIRECTORY (default: the current
# binary folder); the package is made by the target <name>_package, part of the default build,
# whose property QV_PACKAGE_FILE holds its path. The archive is written with CMake's own archive
# support: no other tool is needed.
#
# On the web (preset wasm) modules are compiled into programs, so the applet also gets its web
# bundle: <name>.js and <name>.wasm in OUTPUT_DIRECTORY, a program made of the web player's main
# (plugin/web), the applet module, the MODULES and what the player itself loads (the UI manager,
# the property and memory modules). The bundle is modularized: <name>.js defines the factory
# QVApplet_<name> (characters other than letters, digits and "_" become "_"), which the page
# script qvapplet.js calls once per embedded applet. The package then holds "main_web=<module
# file>" and, instead of the module library, a small file of that name standing for the code
# compiled into the bundle; the MODULES are linked into the bundle and likewise packed as small
# files standing for them. The target
# <name>_web makes the bundle; its property QV_BUNDLE_FILE holds the path of <name>.js. The page
# script qvapplet.js is copied beside it.
#
# The same file serves the installed CMake package (find_package(QV)): out of the QV tree too,
# a desktop SDK (installed from a desktop build) makes packages, and a web SDK (installed from a
# web build, configured with emcmake) makes the web bundle, with qvapplet.js staged beside it.
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

  # MODULES by their names in the installed package (QV::qvoglrenderer), by the plain name, or
  # modules of the author's own made with qv_add_module. A name that is none of them would pack
  # nothing (or, on the web, a stand-in without code): stop here on every target.
  set(module_targets "")
  set(module_names "")
  foreach(module IN LISTS ARG_MODULES)
    string(REGEX REPLACE "^QV::" "" plain "${module}")
    if(TARGET QV::${plain})
      set(target QV::${plain})
    elseif(TARGET ${module})
      set(target ${module})
    else()
      message(FATAL_ERROR "qv_add_applet(${name}): unknown module ${module}: no module target "
              "QV::${plain} (the modules QV builds and installs) nor ${module} (one made with "
              "qv_add_module)")
    endif()
    # Custom commands depend on the real target, not an alias.
    get_target_property(aliased ${target} ALIASED_TARGET)
    if(aliased)
      set(target ${aliased})
    endif()
    list(APPEND module_targets ${target})
    list(APPEND module_names ${plain})
  endforeach()

  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}.qva.work)
  set(module_name $<TARGET_FILE_NAME:${ARG_MODULE}>)
  set(module_file $<TARGET_FILE:${ARG_MODULE}>)
  set(packed_modules ${module_targets})
  if(QV_TARGET_WIN32)
    set(key main_w32)
  elseif(QV_TARGET_WEB)
    set(key main_web)
    set(module_name ${ARG_MODULE}${QV_MODULE_SUFFIX})
    set(module_file ${work}/${module_name})
    file(GENERATE OUTPUT ${module_file} CONTENT
         "The code of ${module_name} is compiled into the web bundle ${name}.js.\n")
    set(packed_modules "")
    qv_add_web_bundle(${name} ${ARG_MODULE} ${ARG_OUTPUT_DIRECTORY} ${module_targets})
    # The MODULES' files stand for their code too, so that a scan of the package folder (a
    # mesh gathering its loaders) finds them there as on the desktop.
    set(stand_ins "")
    foreach(module IN LISTS module_names)
      set(stand_in ${work}/modules/${module}${QV_MODULE_SUFFIX})
      file(GENERATE OUTPUT ${stand_in} CONTENT
           "The code of ${module}${QV_MODULE_SUFFIX} is compiled into the web bundle ${name}.js.\n")
      list(APPEND stand_ins ${stand_in})
    endforeach()
  else()
    set(key main_linux)
  endif()
  set(configuration "${key}=${module_name}\n")
  foreach(line IN LISTS ARG_CONFIG)
    string(APPEND configuration "${line}\n")
  endforeach()
  file(GENERATE OUTPUT ${work}/qveapp.cfg CONTENT "${configuration}")

  set(files "")
  foreach(file IN LISTS ARG_FILES)
    get_filename_component(file ${file} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND files ${file})
  endforeach()
  foreach(module IN LISTS packed_modules)
    list(APPEND files $<TARGET_FILE:${module}>)
  endforeach()
  if(QV_TARGET_WEB)
    list(APPEND files ${stand_ins})
  endif()
  set(package ${ARG_OUTPUT_DIRECTORY}/${name}.qva)
  file(GENERATE OUTPUT ${work}/pack.cmake CONTENT
"set(QV_PACKAGE \"${package}\")
set(QV_STAGE \"${work}/stage\")
set(QV_CONFIGURATION \"${work}/qveapp.cfg\")
set(QV_MODULE \"${module_file}\")
set(QV_FILES \"${files}\")
include(\"${QV_PACK_APPLET_SCRIPT}\")
")
  # Imported modules (the installed package's) are files: the files' dependency covers them.
  set(built_modules "")
  foreach(module IN LISTS packed_modules)
    get_target_property(imported ${module} IMPORTED)
    if(NOT imported)
      list(APPEND built_modules ${module})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${package}
    COMMAND ${CMAKE_COMMAND} -P ${work}/pack.cmake
    DEPENDS ${ARG_MODULE} ${built_modules} ${module_file} ${work}/qveapp.cfg ${work}/pack.cmake ${files}
            ${QV_PACK_APPLET_SCRIPT}
    COMMENT "Packing applet ${name}.qva"
    VERBATIM)
  add_custom_target(${name}_package ALL DEPENDS ${package})
  set_target_properties(${name}_package PROPERTIES QV_PACKAGE_FILE ${package})
endfunction()

# qv_add_web_bundle(<name> <applet module target> <output directory> [<module targets...>])
# The web bundle of an applet (see above). Web builds only.
function(qv_add_web_bundle name module directory)
  # Names as the installed package gives them; the tree has them under these names too (its
  # aliases are made with the targets, so they are looked for only when the bundle is made).
  get_property(main GLOBAL PROPERTY QV_WEB_PLAYER_MAIN)
  if(NOT main)
    message(FATAL_ERROR "qv_add_applet(${name}): the web player (plugin/web) is not part of the "
            "build, or the QV package found is no web SDK (install QV from a web build)")
  endif()
  string(MAKE_C_IDENTIFIER ${name} id)
  set(bundle ${name}_web)
  add_executable(${bundle} ${main})
  set_target_properties(${bundle} PROPERTIES OUTPUT_NAME ${name} SUFFIX ".js"
                        RUNTIME_OUTPUT_DIRECTORY ${directory})
  target_link_libraries(${bundle} PRIVATE QV::qv_web_player)
  # What the player loads itself: the UI manager, the property loader for qveapp.cfg and the
  # memory manager; then the applet and the modules it asks for.
  set(modules "")
  foreach(part QV::qvuimanagerweb QV::qvproploader QV::qvmemmgr ${module} ${ARGN})
    # One name per module (the tree's aliases to their targets), or it would be compiled in twice.
    if(TARGET ${part})
      get_target_property(aliased ${part} ALIASED_TARGET)
      if(aliased)
        set(part ${aliased})
      endif()
    endif()
    list(APPEND modules ${part})
  endforeach()
  list(REMOVE_DUPLICATES modules)
  qv_link_modules(${bundle} ${modules})
  # The applet's loop blocks; the UI manager yields to the browser from inside it.
  target_link_libraries(${bundle} PRIVATE QV::qv_web_async)
  # The page script that runs the bundles, staged beside them: a page loads both from one place.
  get_property(script GLOBAL PROPERTY QV_WEB_PLAYER_SCRIPT)
  add_custom_command(TARGET ${bundle} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${script} ${directory}/qvapplet.js VERBATIM)
  target_link_options(${bundle} PRIVATE
    -sMODULARIZE=1 -sEXPORT_NAME=QVApplet_${id} -sFORCE_FILESYSTEM=1 -sENVIRONMENT=web,worker
    "-sEXPORTED_RUNTIME_METHODS=['FS','UTF8ToString']" -sALLOW_MEMORY_GROWTH=1
    # Pages download what they run: no debug information outside Debug builds (the wasm shrinks
    # to a fifth).
    $<$<NOT:$<CONFIG:Debug>>:-g0>)
  set_target_properties(${bundle} PROPERTIES QV_BUNDLE_FILE ${directory}/${name}.js)
endfunction()
