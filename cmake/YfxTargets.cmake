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
  set(test_properties ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_COST)
    list(APPEND test_properties COST ${ARG_COST})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES ${test_properties})
endfunction()
