# GoogleTest for every target. The native build uses Debian's packaged libraries; the Windows and
# web builds compile the sources that Debian's googletest package installs (on the web without
# threads: the test programs run on node's one thread).
if(QV_TARGET_WIN32 OR QV_TARGET_WEB)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  if(QV_TARGET_WEB)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Its CMake project defines the GTest:: aliases itself.
else()
  find_package(GTest REQUIRED)
endif()

# Leak checking in the sanitizer build. LeakSanitizer reads its suppressions from the one file that
# LSAN_OPTIONS names (other builds ignore the variable); tests/lsan.supp lists what the system
# keeps for the life of the process on purpose, and every test gets it.
set(QV_LSAN_SUPPRESSIONS ${PROJECT_SOURCE_DIR}/tests/lsan.supp)

# The native sanitizer build also preloads tests/sanitizer's library into every test: it keeps the
# OpenGL drivers loaded until the process ends, so that what they keep for the life of the
# process stays reachable instead of showing as leaks of an unloaded module. The sanitizer
# runtime then no longer comes first among the libraries, which it accepts when told so.
if(NOT CMAKE_CROSSCOMPILING AND NOT QV_TARGET_WEB AND CMAKE_CXX_FLAGS MATCHES "-fsanitize=[^ ]*address")
  set(QV_SANITIZED_TESTS ON)
endif()

# qv_lsan_environment(<var> [EXTRA <files...>])
# Sets <var> to the test ENVIRONMENT entry "LSAN_OPTIONS=suppressions=<file>": the project's
# suppressions, joined with the extra files into one file in the build folder when there are any.
function(qv_lsan_environment var)
  cmake_parse_arguments(ARG "" "" "EXTRA" ${ARGN})
  set(suppressions ${QV_LSAN_SUPPRESSIONS})
  if(ARG_EXTRA)
    file(READ ${QV_LSAN_SUPPRESSIONS} text)
    set(name lsan)
    foreach(extra ${ARG_EXTRA})
      file(READ ${extra} more)
      string(APPEND text "\n${more}")
      get_filename_component(base ${extra} NAME_WE)
      string(APPEND name "-${base}")
    endforeach()
    set(suppressions ${CMAKE_CURRENT_BINARY_DIR}/${name}.supp)
    file(WRITE ${suppressions} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
                 ${QV_LSAN_SUPPRESSIONS} ${ARG_EXTRA})
  endif()
  set(${var} "LSAN_OPTIONS=suppressions=${suppressions}" PARENT_SCOPE)
endfunction()

# qv_use_lsan_suppressions()
# Gives every test of the calling directory that sets no LSAN_OPTIONS itself the project's
# suppressions. Runs when the directory's CMakeLists.txt is done (qv_add_test_suite schedules it),
# so that it also reaches the script tests of the directory and survives ENVIRONMENT settings
# made after a suite was added.
function(qv_use_lsan_suppressions)
  qv_lsan_environment(entry)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test ${tests})
    get_test_property(${test} ENVIRONMENT environment)
    if(NOT environment MATCHES "LSAN_OPTIONS=")
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT "${entry}")
    endif()
    if(QV_SANITIZED_TESTS)
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT_MODIFICATION
        "LD_PRELOAD=path_list_prepend:$<TARGET_FILE:qv_keep_gl_drivers>"
        "ASAN_OPTIONS=string_append::verify_asan_link_order=0"
        # Sanitized programs start and work about three times slower: the GUI scripts wait longer.
        "QV_WAIT_SCALE=set:3")
    endif()
  endforeach()
endfunction()

# qv_add_test_suite(<name> SOURCES <files...> [LIBS <libs...>])
# One test executable, registered as one CTest test that runs in the output directory (through
# Wine on win32, node on the web), so that it finds the modules built beside it (on the web: the
# modules linked in with qv_link_modules). Every test of the directory gets the project's
# leak-checker suppressions.
function(qv_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  qv_set_warnings(${name})
  qv_web_node_program(${name})
  # The memory module lies beside every test program on the desktop; on the web it is compiled in.
  if(QV_TARGET_WEB AND TARGET qvmemmgr)
    qv_link_modules(${name} qvmemmgr)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no
           WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  get_property(scheduled DIRECTORY PROPERTY QV_LSAN_SCHEDULED)
  if(NOT scheduled)
    set_property(DIRECTORY PROPERTY QV_LSAN_SCHEDULED TRUE)
    cmake_language(DEFER CALL qv_use_lsan_suppressions)
  endif()
endfunction()

# qv_web_skip_cases(<suite> <reason> <cases...>)
# On the web, the suite's test program leaves out the named GoogleTest cases ("Suite.Case", '*'
# allowed), each group with the reason why the web has nothing to test there. Elsewhere nothing.
function(qv_web_skip_cases suite reason)
  if(NOT QV_TARGET_WEB)
    return()
  endif()
  get_property(skipped TEST ${suite} PROPERTY QV_WEB_SKIPPED_CASES)
  list(APPEND skipped ${ARGN})
  set_property(TEST ${suite} PROPERTY QV_WEB_SKIPPED_CASES "${skipped}")
  list(JOIN skipped ":" filter)
  # GoogleTest takes the filter from the environment (platform/web/NodeEnvironment.js hands it on).
  get_test_property(${suite} ENVIRONMENT environment)
  if(NOT environment)
    set(environment "")
  endif()
  list(FILTER environment EXCLUDE REGEX "^GTEST_FILTER=")
  list(APPEND environment "GTEST_FILTER=-${filter}")
  set_tests_properties(${suite} PROPERTIES ENVIRONMENT "${environment}")
endfunction()
