# Shared target helpers: warnings on our own code, one static library per layer
# folder, one GoogleTest executable per test folder.

include(YfxPrecompiledHeaders)

function(yfx_warnings target)
  if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
  elseif(MSVC)
    target_compile_options(${target} PRIVATE /W4 /WX)
  endif()
endfunction()

# yfx_layer_library(NAME [LINK libs...]): a static library of every .cpp/.h in
# the calling folder (recursively).
function(yfx_layer_library name)
  cmake_parse_arguments(ARG "" "" "LINK" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LINK})
  yfx_warnings(${name})
endfunction()

# yfx_test_suite(NAME [COST n] [LINK libs...]): one test executable of every
# *.cpp in the calling folder, registered test by test with CTest. LINK names
# every library that brings compile flags (Qt above all): it also chooses the
# suite's precompiled header. COST marks a suite whose tests take long: ctest
# starts the costliest tests first, so that they do not run alone at the end
# of a parallel run.
function(yfx_test_suite name)
  cmake_parse_arguments(ARG "" "COST" "LINK" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_LINK} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE YFX_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  yfx_warnings(${name})
  yfx_precompile_test_headers(${name} ${ARG_LINK})
  if(CMAKE_CROSSCOMPILING)
    yfx_add_emulated_test(${name} "${ARG_COST}")
    return()
  endif()
  set(test_properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_COST)
    list(APPEND test_properties COST ${ARG_COST})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ${test_properties})
endfunction()

# A cross-built suite runs under the emulator as one CTest test for the whole
# program: every emulated process pays the emulator's start-up, and listing the
# tests would mean running the program at build time. GoogleTest's XML report
# decides the outcome (cmake/YfxEmulatedTest.cmake). The emulator's state (a
# Wine prefix) lives in the build folder and is made once by the fixture
# yfx_add_emulator_setup adds.
function(yfx_add_emulated_test name cost)
  if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(FATAL_ERROR "${name}: a cross build needs CMAKE_CROSSCOMPILING_EMULATOR to run its tests")
  endif()
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} "-DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}"
                   -DPROGRAM=$<TARGET_FILE:${name}>
                   -DREPORT=${PROJECT_BINARY_DIR}/test-reports/${name}.xml
                   -P ${PROJECT_SOURCE_DIR}/cmake/YfxEmulatedTest.cmake)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED emulator
                                          ENVIRONMENT "${YFX_EMULATOR_ENVIRONMENT}")
  if(cost)
    set_tests_properties(${name} PROPERTIES COST ${cost})
  endif()
endfunction()

# The fixture that prepares the emulator once before the emulated suites run
# (Wine creates its prefix on first use; two programs starting together in a
# missing prefix would both try to).
set(YFX_EMULATOR_ENVIRONMENT WINEDEBUG=-all WINEPREFIX=${PROJECT_BINARY_DIR}/wine-prefix)
function(yfx_add_emulator_setup)
  add_test(NAME emulator_setup COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} wineboot --init)
  set_tests_properties(emulator_setup PROPERTIES FIXTURES_SETUP emulator
                                                 ENVIRONMENT "${YFX_EMULATOR_ENVIRONMENT}")
endfunction()
