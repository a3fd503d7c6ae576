# cmake --install of the stand-in build into a fresh prefix: the tool, the
# plug-in module and the stand-in library land where the installed tool finds
# them, so that it loads the module from there.
#   cmake -DBUILD_DIR=<build> -DPREFIX=<scratch prefix> -DTOOL_NAME=yfx -P install_test.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}${err}")
endif()
# Nothing may need the build tree any more.
execute_process(COMMAND ${PREFIX}/bin/${TOOL_NAME} plugins
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed tool cannot load the module (${status}):\n${out}${err}")
endif()
string(REGEX MATCH "module: +([^\n]*)" line "${out}")
set(module "${CMAKE_MATCH_1}")
cmake_path(GET module PARENT_PATH module_dir)
if(NOT module_dir STREQUAL "${PREFIX}/bin" OR NOT out MATCHES "Marrowmap Importer/Exporter")
  message(FATAL_ERROR "the installed tool loaded '${module}', not the installed module:\n${out}")
endif()
