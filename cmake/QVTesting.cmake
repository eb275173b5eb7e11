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

# Sample files made by other programs (TGA images, 3D Studio meshes) live beside the project, in
# shared/data next to the checkout or next to its parent folder (a folder of worktrees); never in
# the tree. Tests that read them skip when the folder is absent; the environment variable of the
# same name overrides this at run time.
if(NOT QV_SAMPLE_DATA_DIR)
  set(qv_sample_data_default ${PROJECT_SOURCE_DIR}/../shared/data)
  foreach(candidate ${PROJECT_SOURCE_DIR}/../shared/data ${PROJECT_SOURCE_DIR}/../../shared/data)
    if(IS_DIRECTORY ${candidate})
      set(qv_sample_data_default ${candidate})
      break()
    endif()
  endforeach()
  get_filename_component(qv_sample_data_default ${qv_sample_data_default} ABSOLUTE)
  set(QV_SAMPLE_DATA_DIR ${qv_sample_data_default} CACHE PATH "Folder of the real sample files")
endif()
