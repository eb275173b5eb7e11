# minizip, the zip reading (and, for tests and benchmarks, writing) layer on top of zlib.
#
# Linux: Debian's libminizip-dev, found through pkg-config.
# Windows: minizip has no mingw package; it is compiled here from the minizip folder of Debian's
# zlib sources (tools/setup.sh fetches them to /opt/qv-deps/zlib) against mingw-w64's static
# zlib (libz-mingw-w64-dev). Nothing of it is copied into the tree.
# Web: emscripten's zlib port cannot be fetched (its cache is frozen); zlib and minizip are both
# compiled here from the same Debian zlib sources.
#
# Targets: qv_minizip (the unzip API and zlib), qv_minizip_zip (adds the zip writing API).
if(QV_TARGET_WIN32 OR QV_TARGET_WEB)
  if(DEFINED ENV{QV_DEPS_DIR})
    set(qv_minizip_default $ENV{QV_DEPS_DIR}/zlib/contrib/minizip)
  else()
    set(qv_minizip_default /opt/qv-deps/zlib/contrib/minizip)
  endif()
  set(QV_MINIZIP_SOURCE_DIR ${qv_minizip_default} CACHE PATH
      "minizip sources (contrib/minizip of Debian's zlib sources) for the Windows and web builds")
  if(NOT EXISTS ${QV_MINIZIP_SOURCE_DIR}/unzip.c)
    message(FATAL_ERROR "minizip sources not found in ${QV_MINIZIP_SOURCE_DIR}; run tools/setup.sh")
  endif()
  if(QV_TARGET_WEB)
    # zlib itself from the sources that minizip came with (two folders up).
    get_filename_component(qv_zlib_source_dir ${QV_MINIZIP_SOURCE_DIR}/../.. ABSOLUTE)
    set(qv_zlib_sources)
    foreach(part adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast
                 inflate inftrees trees uncompr zutil)
      list(APPEND qv_zlib_sources ${qv_zlib_source_dir}/${part}.c)
    endforeach()
    add_library(qv_zlib STATIC ${qv_zlib_sources})
    target_include_directories(qv_zlib SYSTEM PUBLIC ${qv_zlib_source_dir})
    target_compile_definitions(qv_zlib PRIVATE HAVE_UNISTD_H)
    target_compile_options(qv_zlib PRIVATE -w)
    add_library(ZLIB::ZLIB ALIAS qv_zlib)
  else()
    # The static zlib, so that no zlib DLL has to travel with the programs.
    set(ZLIB_USE_STATIC_LIBS ON)
    find_package(ZLIB REQUIRED)
  endif()

  add_library(qv_minizip STATIC ${QV_MINIZIP_SOURCE_DIR}/ioapi.c ${QV_MINIZIP_SOURCE_DIR}/unzip.c)
  add_library(qv_minizip_zip STATIC ${QV_MINIZIP_SOURCE_DIR}/zip.c)
  foreach(part qv_minizip qv_minizip_zip)
    target_include_directories(${part} SYSTEM PUBLIC ${QV_MINIZIP_SOURCE_DIR})
    # Third-party code: built as it comes, without the project's warnings.
    target_compile_options(${part} PRIVATE -w)
  endforeach()
  target_link_libraries(qv_minizip PUBLIC ZLIB::ZLIB)
  target_link_libraries(qv_minizip_zip PUBLIC qv_minizip)
else()
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(QV_MINIZIP REQUIRED IMPORTED_TARGET minizip)
  find_package(ZLIB REQUIRED)
  # Debian's library holds both halves.
  add_library(qv_minizip INTERFACE)
  target_link_libraries(qv_minizip INTERFACE PkgConfig::QV_MINIZIP ZLIB::ZLIB)
  add_library(qv_minizip_zip INTERFACE)
  target_link_libraries(qv_minizip_zip INTERFACE qv_minizip)
endif()
