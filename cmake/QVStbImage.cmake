# stb_image, the image decoder of the image loader module: Debian's libstb-dev header
# (/usr/include/stb/stb_image.h), header-only. Cross builds (mingw, emscripten) must not see
# /usr/include (it holds glibc's headers), so the one header is staged into the build tree at
# configure time and only that folder goes on the include path. Nothing is copied into the tree.
#
# Target: qv_stb_image (an interface library giving the include folder, <stb_image.h>).
set(QV_STB_IMAGE_HEADER /usr/include/stb/stb_image.h CACHE FILEPATH
    "stb_image.h of Debian's libstb-dev, read by the image loader module")
if(NOT EXISTS ${QV_STB_IMAGE_HEADER})
  message(FATAL_ERROR "${QV_STB_IMAGE_HEADER} not found; install libstb-dev (tools/setup.sh)")
endif()
set(qv_stb_stage ${PROJECT_BINARY_DIR}/third-party/stb)
configure_file(${QV_STB_IMAGE_HEADER} ${qv_stb_stage}/stb_image.h COPYONLY)
add_library(qv_stb_image INTERFACE)
target_include_directories(qv_stb_image SYSTEM INTERFACE ${qv_stb_stage})
