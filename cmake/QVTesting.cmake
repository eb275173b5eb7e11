# GoogleTest for both targets. The native build uses Debian's packaged libraries; the win32 build
# compiles the sources that Debian's googletest package installs.
if(QV_TARGET_WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Its CMake project defines the GTest:: aliases itself.
else()
  find_package(GTest REQUIRED)
endif()

# qv_add_test_suite(<name> SOURCES <files...> [LIBS <libs...>])
# One test executable, registered as one CTest test that runs in the output directory (through
# Wine on win32), so that it finds the modules built beside it.
function(qv_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  qv_set_warnings(${name})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no
           WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endfunction()
