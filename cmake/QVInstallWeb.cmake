# The web SDK (cmake --install of a web build): what an applet's web bundle is made of besides the
# applet, so that qv_add_applet makes <name>.js and <name>.wasm out of the QV tree as in it.
#
#   lib/qv/objects/      the modules, as object files (a bundle compiles its modules in)
#   lib/                 the libraries the web player and the modules are made of
#   share/qv/web/        the web player's main (compiled into every bundle), the page script
#                        qvapplet.js (a page loads it beside the bundles) and the web UI
#                        manager's page library (linked into every bundle)
set(qv_web_libraries
  qv_web_player qv_web_async qv_package qv_minizip qv_zlib qv_uimanager_web qv_proploader_impl
  qv_tgaloader_impl qv_tgawriter qv_3dsloader_impl qv_imgloader_impl qv_stb_decoder qv_stb_image
  qv_modelloader_impl qv_model_libraries qv_raytrace qv_glrenderer qv_gl qv_glu qv_webgl_cpu)
foreach(library ${qv_web_libraries})
  if(TARGET ${library})
    install(TARGETS ${library} EXPORT QVTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  endif()
endforeach()
get_property(qv_web_player_main GLOBAL PROPERTY QV_WEB_PLAYER_MAIN)
get_property(qv_web_player_script GLOBAL PROPERTY QV_WEB_PLAYER_SCRIPT)
install(FILES ${qv_web_player_main} ${qv_web_player_script} ui/web/WebPageLibrary.js
        ui/web/WebElements.js
        DESTINATION share/qv/web)
install(FILES plugin/web/QVWebAppletStart.h plugin/web/QVWebAppletHost.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/qv/plugin/web)
