# cmake --install: the programs, the modules, the sample applets, and the authoring kit for
# applets and modules made outside this tree (headers, the static core libraries and a CMake
# package, so that find_package(QV) gives qv_add_module and qv_add_applet):
#
#   bin/                 programs (and on Windows the modules beside them, where the library
#                        search finds them first)
#   lib/qv/              modules on Linux: the installed modules' directory of the library
#                        search (QV_SYSTEM_MODULE_DIR; QV_SYSTEM_DIR overrides it at run time),
#                        and the browser plug-in libnpqvarunner.so beside them
#   include/qv/          headers, in the tree's layout ("core/string/QVString.h", ...)
#   lib/                 static libraries every module links (its own copy of the core)
#   lib/cmake/QV/        the CMake package
#   share/qv/applets/    the sample applet packages
#   share/qv/web/        web builds: the web player's main, its page script qvapplet.js and the
#                        web UI manager's page library (cmake/QVInstallWeb.cmake)
include(GNUInstallDirs)
if(QV_TARGET_WIN32)
  set(qv_module_destination ${CMAKE_INSTALL_BINDIR})
else()
  set(qv_module_destination ${CMAKE_INSTALL_LIBDIR}/qv)
endif()
set(qv_package_destination ${CMAKE_INSTALL_LIBDIR}/cmake/QV)

foreach(program appletcheck rayviewer uitest qvrender qvmods qvaplayer qvglview)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
foreach(module qvmemmgr qvproploader qvtgaloader qvimgloader qv3dsloader qvmodelloader
               qvraytracer qvoglrenderer qvuimanagerx11 qvuimanagerw32 qvuimanagerweb)
  if(TARGET ${module})
    # Exported as QV::<module>, which an applet out of the tree names in its MODULES. On the
    # web a module is the object files that a bundle compiles in.
    install(TARGETS ${module} EXPORT QVModules
                              LIBRARY DESTINATION ${qv_module_destination}
                              RUNTIME DESTINATION ${qv_module_destination}
                              OBJECTS DESTINATION ${qv_module_destination}/objects)
  endif()
endforeach()
# The browser plug-in beside the modules, which it finds in its own directory.
if(TARGET npqvarunner)
  install(TARGETS npqvarunner LIBRARY DESTINATION ${qv_module_destination}
                              RUNTIME DESTINATION ${qv_module_destination})
endif()
foreach(applet hello spinner)
  if(TARGET ${applet}_package)
    get_target_property(file ${applet}_package QV_PACKAGE_FILE)
    install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/qv/applets)
  endif()
endforeach()

# What an applet or module author builds against. The tree names these libraries as the
# installed package does too, so that an applet's CMakeLists.txt reads the same in and out of it.
foreach(library qv_runtime qv_scene qv_loaders qv_ui qv_renderer qv_applet qv_web_player
                qv_web_async)
  if(TARGET ${library})
    add_library(QV::${library} ALIAS ${library})
  endif()
endforeach()
install(TARGETS qv_platform qv_runtime qv_scene qv_loaders qv_ui qv_renderer qv_applet
        EXPORT QVTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qv)
install(DIRECTORY core modules platform gl scene renderers loaders ui
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qv
        FILES_MATCHING PATTERN "*.h"
        # Implementations of one target or one module, not interfaces.
        PATTERN "posix" EXCLUDE PATTERN "win32" EXCLUDE PATTERN "x11" EXCLUDE
        PATTERN "glx" EXCLUDE PATTERN "wgl" EXCLUDE
        PATTERN "memmgr" EXCLUDE PATTERN "props" EXCLUDE PATTERN "tga" EXCLUDE
        PATTERN "3ds" EXCLUDE PATTERN "raytracer" EXCLUDE PATTERN "opengl" EXCLUDE)
install(FILES plugin/QVApplet.h plugin/QVAppletHost.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qv/plugin)
if(QV_TARGET_WEB)
  include(cmake/QVInstallWeb.cmake)
endif()
install(EXPORT QVTargets NAMESPACE QV:: DESTINATION ${qv_package_destination})
install(EXPORT QVModules NAMESPACE QV:: DESTINATION ${qv_package_destination})

include(CMakePackageConfigHelpers)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/QVConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES
          cmake/QVConfig.cmake
          ${CMAKE_BINARY_DIR}/QVConfigVersion.cmake
          cmake/QVModule.cmake
          cmake/QVApplet.cmake
          cmake/QVPackApplet.cmake
          modules/qvmodule.map
          modules/qvmodule.def
        DESTINATION ${qv_package_destination})
