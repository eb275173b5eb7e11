# Which of the targets this build is for, and what follows from it.
if(WIN32)
  set(QV_TARGET_WIN32 ON)
  set(QV_TARGET_WEB OFF)
  set(QV_PLATFORM_DIR win32)
elseif(EMSCRIPTEN)
  set(QV_TARGET_WIN32 OFF)
  set(QV_TARGET_WEB ON)
  set(QV_PLATFORM_DIR web)
else()
  set(QV_TARGET_WIN32 OFF)
  set(QV_TARGET_WEB OFF)
  set(QV_PLATFORM_DIR posix)
endif()

# Module libraries carry their own extension on every target (on the web the modules are compiled
# into the programs, and the extension is part of the file name they are found by).
set(QV_MODULE_SUFFIX ".qvm")

# Programs that only make sense on a desktop: their own top-level windows, other processes, Wine,
# dynamic loading of real module files, the browser plug-in. The web build leaves them out.
if(QV_TARGET_WEB)
  set(QV_DESKTOP_PROGRAMS OFF)
else()
  set(QV_DESKTOP_PROGRAMS ON)
endif()

# OpenGL: the desktop's libraries, or on the web the fixed-function layer over WebGL
# (gl/webgl). Everything that draws with OpenGL (the GL binding, the OpenGL renderer, the ray
# tracer module's drawing, samples that draw) is built only when this is ON.
set(QV_WEB_GL ON)
if(QV_TARGET_WEB AND NOT QV_WEB_GL)
  set(QV_HAVE_GL OFF)
else()
  set(QV_HAVE_GL ON)
endif()

if(QV_TARGET_WEB)
  # clang 14 starts from C++14 and without exceptions; the core reports errors by exceptions.
  add_compile_options(-fexceptions)
  add_link_options(-fexceptions -sALLOW_MEMORY_GROWTH=1)
  # Programs run under node for the tests reach the real file system (build tree, sample data)
  # and hand the exit code of main to the caller.
  set(QV_WEB_NODE_LINK_OPTIONS -sNODERAWFS=1 -sEXIT_RUNTIME=1
      "SHELL:--pre-js ${CMAKE_CURRENT_LIST_DIR}/../platform/web/NodeEnvironment.js")
endif()

# qv_web_node_program(<target>): on the web, makes <target> a program run by node on the real
# file system with the caller's environment (tests, command-line tools). No-op elsewhere.
function(qv_web_node_program target)
  if(QV_TARGET_WEB)
    target_link_options(${target} PRIVATE ${QV_WEB_NODE_LINK_OPTIONS})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
                 ${PROJECT_SOURCE_DIR}/platform/web/NodeEnvironment.js)
  endif()
endfunction()
