# stb_image, the image decoder of the image loader module: Debian's libstb-dev header
# (/usr/include/stb/stb_image.h), header-only. Cross builds (mingw, emscripten) must not see
# /usr/include (it holds glibc's headers), so the one header is staged into the build tree at
# configure time and only that folder goes on the include path. Nothing is copied into the tree.
#
# The staged copy gets the fixes that later upstream releases made and that Debian's snapshot
# (2.27) lacks, each applied only where the header does not have it yet:
# - a Huffman table (JPEG DHT segment) whose 16 code counts add up to more than 256 symbols is
#   refused; without that check the table's symbols are written past its arrays (found by our
#   fuzz target).
# - an empty IDAT chunk before any image data is skipped; it used to copy its zero bytes to the
#   data buffer not made yet, a null pointer (undefined behaviour; found by our fuzz target).
#
# Target: qv_stb_image (an interface library giving the include folder, <stb_image.h>).
set(QV_STB_IMAGE_HEADER /usr/include/stb/stb_image.h CACHE FILEPATH
    "stb_image.h of Debian's libstb-dev, read by the image loader module")
if(NOT EXISTS ${QV_STB_IMAGE_HEADER})
  message(FATAL_ERROR "${QV_STB_IMAGE_HEADER} not found; install libstb-dev (tools/setup.sh)")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${QV_STB_IMAGE_HEADER})
file(READ ${QV_STB_IMAGE_HEADER} qv_stb_text)

# qv_stb_fix(<marker> <anchor> <inserted>): unless the header already holds <marker>, inserts
# <inserted> before the one place <anchor> occurs; stops when that place is not there exactly once.
function(qv_stb_fix marker anchor inserted)
  string(FIND "${qv_stb_text}" "${marker}" present)
  if(NOT present EQUAL -1)
    return()
  endif()
  string(FIND "${qv_stb_text}" "${anchor}" first)
  string(FIND "${qv_stb_text}" "${anchor}" last REVERSE)
  if(first EQUAL -1 OR NOT first EQUAL last)
    message(FATAL_ERROR "stb_image.h: the place for a fix was not found once:\n${anchor}")
  endif()
  string(REPLACE "${anchor}" "${inserted}${anchor}" fixed "${qv_stb_text}")
  set(qv_stb_text "${fixed}" PARENT_SCOPE)
endfunction()

qv_stb_fix("if(n > 256)"
  "            L -= 17;\n            if (tc == 0) {"
  "            if(n > 256) return stbi__err(\"bad DHT header\",\"Corrupt JPEG\");\n")

qv_stb_fix("if (c.length == 0) break;"
  "            if (!stbi__getn(s, z->idata+ioff,c.length))"
  "            if (c.length == 0) break;\n")

set(qv_stb_stage ${PROJECT_BINARY_DIR}/third-party/stb)
# Written through a scratch file so that the staged header only changes (and the decoder is only
# rebuilt) when its text does.
file(WRITE ${qv_stb_stage}/stb_image.h.new "${qv_stb_text}")
configure_file(${qv_stb_stage}/stb_image.h.new ${qv_stb_stage}/stb_image.h COPYONLY)
add_library(qv_stb_image INTERFACE)
target_include_directories(qv_stb_image SYSTEM INTERFACE $<BUILD_INTERFACE:${qv_stb_stage}>)
