# The QV package for applets and modules made outside the QV tree:
#
#   find_package(QV REQUIRED)
#   qv_add_module(mymodule SOURCES MyModule.cpp LIBS QV::qv_loaders)
#   qv_add_applet(myapplet MODULE myappletmodule SOURCES MyApplet.cpp FILES data/)
#
# Targets (static libraries; every module links its own copy): QV::qv_runtime (core and module
# system), QV::qv_scene, QV::qv_loaders, QV::qv_ui, QV::qv_renderer (renderer interface),
# QV::qv_applet (what an applet needs: the applet and host interfaces, UI items, property sets);
# the installed modules, QV::qvoglrenderer, QV::qvraytracer, QV::qv3dsloader, ... (module
# libraries, to name in qv_add_applet's MODULES).
# The platform library starts threads (the browser plug-in's applet threads).
include(CMakeFindDependencyMacro)
if(NOT EMSCRIPTEN)
  find_dependency(Threads)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/QVTargets.cmake")
# The installed modules as imported module libraries, QV::qvoglrenderer and the others, for the
# MODULES that an applet packs along.
include("${CMAKE_CURRENT_LIST_DIR}/QVModules.cmake")
set(QV_RUNTIME_TARGET QV::qv_runtime)
set(QV_APPLET_TARGET QV::qv_applet)
include("${CMAKE_CURRENT_LIST_DIR}/QVModule.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/QVApplet.cmake")
# A web SDK (installed from a web build) brings the web player, whose main every applet's bundle
# compiles in, and the page script that is staged beside the bundles.
get_filename_component(qv_web_files "${CMAKE_CURRENT_LIST_DIR}/../../../share/qv/web" ABSOLUTE)
if(EXISTS "${qv_web_files}/WebAppletMain.cpp")
  set_property(GLOBAL PROPERTY QV_WEB_PLAYER_MAIN "${qv_web_files}/WebAppletMain.cpp")
  set_property(GLOBAL PROPERTY QV_WEB_PLAYER_SCRIPT "${qv_web_files}/qvapplet.js")
endif()
