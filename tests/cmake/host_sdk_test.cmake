# The decisions of cmake/YfxHostSdk.cmake, in script mode, against a fake SDK
# made here: the real SDK's headers (linked from HEADERS_DIR, never copied
# into the repository) with empty library files and moc.
#   cmake -DSOURCE_DIR=<repo> -DWORK_DIR=<scratch> -DHEADERS_DIR=<sdk> -P host_sdk_test.cmake
# Exits 77 (skipped) when the SDK headers are not there.
cmake_minimum_required(VERSION 3.25)
include(${SOURCE_DIR}/cmake/YfxHostSdk.cmake)

if(NOT EXISTS "${HEADERS_DIR}/include/dzplugin.h")
  message("skipped: no host SDK headers in ${HEADERS_DIR}")
  cmake_language(EXIT 77)
endif()

set(failures 0)
function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(SEND_ERROR "${what}:\n  got      '${actual}'\n  expected '${expected}'")
    math(EXPR count "${failures} + 1")
    set(failures ${count} PARENT_SCOPE)
  endif()
endfunction()
function(expect_match what actual regex)
  if(NOT "${actual}" MATCHES "${regex}")
    message(SEND_ERROR "${what}:\n  got '${actual}'\n  expected a match of '${regex}'")
    math(EXPR count "${failures} + 1")
    set(failures ${count} PARENT_SCOPE)
  endif()
endfunction()

# The fake SDK: include/ linked to the real headers, every library of both bit
# widths as an empty file, and moc in bin/x64 only.
set(sdk ${WORK_DIR}/sdk)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${sdk}/lib/x64 ${sdk}/lib/Win32 ${sdk}/bin/x64)
file(CREATE_LINK ${HEADERS_DIR}/include ${sdk}/include SYMBOLIC)
foreach(arch x64 Win32)
  foreach(lib dzcore QtCore4 QtGui4 QtScript4)
    file(TOUCH ${sdk}/lib/${arch}/${lib}.lib)
  endforeach()
endforeach()
file(TOUCH ${sdk}/bin/x64/moc.exe)

# The layout by bit width: the libraries, the module's name, one moc for both.
# pointer size | arch | module name
set(layouts "8|x64|yfx_filter_64" "4|Win32|yfx_filter")
foreach(row IN LISTS layouts)
  string(REPLACE "|" ";" row "${row}")
  list(GET row 0 size)
  list(GET row 1 arch)
  list(GET row 2 module)
  yfx_host_sdk_layout(${sdk} ${size} got)
  expect("error, ${size}-byte pointers" "${got_ERROR}" "")
  expect("arch, ${size}-byte pointers" "${got_ARCH}" "${arch}")
  expect("module name, ${size}-byte pointers" "${got_MODULE_NAME}" "${module}")
  expect("include dir" "${got_INCLUDE_DIR}" "${sdk}/include")
  expect("libraries, ${arch}" "${got_LIBRARIES}"
         "${sdk}/lib/${arch}/dzcore.lib;${sdk}/lib/${arch}/QtCore4.lib;${sdk}/lib/${arch}/QtGui4.lib;${sdk}/lib/${arch}/QtScript4.lib")
  expect("moc, ${arch}" "${got_MOC}" "${sdk}/bin/x64/moc.exe")
  expect("no dzsdkmemory, ${arch}" "${got_SDK_MEMORY}" "")
endforeach()

# A revision with dzsdkmemory for x64 only.
file(TOUCH ${sdk}/lib/x64/dzsdkmemory.lib)
yfx_host_sdk_layout(${sdk} 8 got)
expect("dzsdkmemory, x64" "${got_SDK_MEMORY}" "${sdk}/lib/x64/dzsdkmemory.lib")
yfx_host_sdk_layout(${sdk} 4 got)
expect("dzsdkmemory, Win32" "${got_SDK_MEMORY}" "")

# What is missing is named: a 32-bit library, the moc, the headers, a bit width.
file(REMOVE ${sdk}/lib/Win32/QtScript4.lib)
yfx_host_sdk_layout(${sdk} 4 got)
expect_match("missing Win32 library" "${got_ERROR}" "not a host SDK for Win32: no QtScript4.lib in lib/Win32$")
yfx_host_sdk_layout(${sdk} 8 got)
expect("x64 unaffected by a missing Win32 library" "${got_ERROR}" "")
file(REMOVE ${sdk}/bin/x64/moc.exe)
file(MAKE_DIRECTORY ${sdk}/bin/Win32)
file(TOUCH ${sdk}/bin/Win32/moc.exe)
yfx_host_sdk_layout(${sdk} 8 got)
expect("moc from bin/Win32" "${got_MOC}" "${sdk}/bin/Win32/moc.exe")
file(REMOVE ${sdk}/bin/Win32/moc.exe)
yfx_host_sdk_layout(${sdk} 8 got)
expect_match("missing moc" "${got_ERROR}" "no moc.exe in bin/x64 or bin/Win32")
yfx_host_sdk_layout(${WORK_DIR}/nothing 8 got)
expect_match("no SDK at all" "${got_ERROR}"
             "no include/ with dzplugin.h and QtCore/qglobal.h; no dzcore.lib, QtCore4.lib, QtGui4.lib, QtScript4.lib in lib/x64; no moc.exe")
yfx_host_sdk_layout(${sdk} 16 got)
expect_match("unknown bit width" "${got_ERROR}" "32-bit and 64-bit x86 only")

# The toolchains: compiler id | frontend | MSVC_VERSION | SDK has dzsdkmemory |
# heap routing on | the refusal (a regular expression; "-" for none).
set(toolchains
    "GNU||||TRUE|MinGW and other GNU-style compilers \\(GNU\\) cannot build.*Visual Studio import libraries.*Visual Studio 17 2022"
    "Clang|GNU|||TRUE|GNU-style compilers \\(Clang\\)"
    "MSVC||1600||TRUE|needs C\\+\\+17: Visual Studio 2017 15.7 or newer"
    "MSVC||1913||TRUE|needs C\\+\\+17"
    "MSVC||1938|FALSE|FALSE|would mix heaps.*Visual Studio 2010 runtime.*YFX_HOST_HEAP_ROUTING on.*dzsdkmemory"
    "Clang|MSVC|1938|FALSE|FALSE|would mix heaps"
    "MSVC||1938|FALSE|TRUE|-"
    "MSVC||1938|TRUE|FALSE|-"
    "MSVC||1914|FALSE|TRUE|-"
    "Clang|MSVC|1938|FALSE|TRUE|-"
    "Intel||||TRUE|Visual Studio only, not Intel")
foreach(row IN LISTS toolchains)
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 id)
  list(GET fields 1 frontend)
  list(GET fields 2 version)
  list(GET fields 3 memory)
  list(GET fields 4 routing)
  list(GET fields 5 refusal)
  yfx_host_sdk_toolchain_error(why "${id}" "${frontend}" "${version}" "${memory}" "${routing}")
  if(refusal STREQUAL "-")
    expect("toolchain ${row}" "${why}" "")
  else()
    expect_match("toolchain ${row}" "${why}" "${refusal}")
  endif()
endforeach()

# The module-definition file: the two plain names, in the host's order.
yfx_host_sdk_write_def(${WORK_DIR}/module.def)
file(READ ${WORK_DIR}/module.def def)
expect("definition file" "${def}" "EXPORTS\n    getSDKVersion @1\n    getPluginDefinition @2\n")

# The module's sources: everything host-facing but the stand-in harness's
# entry point; the heap routing unless dzsdkmemory replaces it; moc on the
# Q_OBJECT headers of plugin/ only.
file(GLOB host_facing ${SOURCE_DIR}/export/*.cpp ${SOURCE_DIR}/import/*.cpp
     ${SOURCE_DIR}/plugin/*.cpp)
list(LENGTH host_facing all_count)
foreach(memory FALSE TRUE)
  yfx_host_sdk_module_sources(${SOURCE_DIR} ${memory} sources headers)
  list(LENGTH sources count)
  set(left_out 1)
  if(memory)
    set(left_out 2)
  endif()
  math(EXPR expected_count "${all_count} - ${left_out}")
  expect("source count, dzsdkmemory ${memory}" "${count}" "${expected_count}")
  foreach(needed plugin/plugin_main.cpp plugin/yfx_export_filter.cpp export/export_driver.cpp
                 import/import_driver.cpp)
    if(NOT "${SOURCE_DIR}/${needed}" IN_LIST sources)
      expect("${needed} in the module" "missing" "present")
    endif()
  endforeach()
  if("${SOURCE_DIR}/plugin/harness_entry.cpp" IN_LIST sources)
    expect("the harness entry point in the module" "present" "missing")
  endif()
  set(routing_in FALSE)
  if("${SOURCE_DIR}/plugin/host_heap_win.cpp" IN_LIST sources)
    set(routing_in TRUE)
  endif()
  if(memory)
    expect("heap routing beside dzsdkmemory" "${routing_in}" "FALSE")
  else()
    expect("heap routing without dzsdkmemory" "${routing_in}" "TRUE")
  endif()
endforeach()
list(TRANSFORM headers REPLACE "^${SOURCE_DIR}/" "")
expect("moc headers" "${headers}"
       "plugin/yfx_export_dlg.h;plugin/yfx_export_filter.h;plugin/yfx_import_dlg.h;plugin/yfx_import_filter.h")

# The SDK folder: YFX_HOST_SDK_DIR first, then DAZ_SDK_DIR (cache or
# environment), with Windows separators made CMake's.
set(YFX_HOST_SDK_DIR "C:\\SDK\\yfx")
set(DAZ_SDK_DIR "C:/SDK/daz")
yfx_host_sdk_dir(dir)
expect("YFX_HOST_SDK_DIR first" "${dir}" "C:/SDK/yfx")
unset(YFX_HOST_SDK_DIR)
yfx_host_sdk_dir(dir)
expect("DAZ_SDK_DIR" "${dir}" "C:/SDK/daz")
unset(DAZ_SDK_DIR)
set(ENV{DAZ_SDK_DIR} "D:\\DAZ\\SDK")
yfx_host_sdk_dir(dir)
expect("DAZ_SDK_DIR from the environment" "${dir}" "D:/DAZ/SDK")
unset(ENV{DAZ_SDK_DIR})
yfx_host_sdk_dir(dir)
expect("no SDK" "${dir}" "")

# The whole configuration with this machine's GNU compiler: refused before
# anything else is looked for, with the reason. DAZ_SDK_DIR names the SDK.
file(TOUCH ${sdk}/bin/x64/moc.exe)
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/configure -G Ninja
                        -DDAZ_SDK_DIR=${sdk} -DYFX_BUILD_TESTS=OFF
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect_match("configure with g++: fails" "${status}" "^[1-9]")
expect_match("configure with g++: says why" "${err}"
             "YFX_HOST_SDK_DIR: MinGW and other GNU-style compilers \\(GNU\\) cannot build")

# The configuration it would generate, with the refusal turned into a warning
# (it cannot be built here): the module's name, its definition file, moc on
# the Q_OBJECT headers, installation into plugins/ and a ZIP package.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR}/generated -G Ninja
                        -DYFX_HOST_SDK_DIR=${sdk} -DYFX_HOST_SDK_CONFIGURE_ONLY=ON
                        -DYFX_BUILD_TESTS=OFF -DYFX_BUILD_BENCH=OFF
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect("configure only: succeeds" "${status}" "0")
if(status EQUAL 0)
  file(READ ${WORK_DIR}/generated/build.ninja ninja)
  file(READ ${WORK_DIR}/generated/cmake_install.cmake install)
  file(READ ${WORK_DIR}/generated/CPackConfig.cmake cpack)
  file(READ ${WORK_DIR}/generated/yfx_filter_64.def def)
  expect("generated definition file" "${def}" "EXPORTS\n    getSDKVersion @1\n    getPluginDefinition @2\n")
  expect_match("module target" "${ninja}" "build yfx_filter_64[.]")
  expect_match("moc with the project path" "${ninja}" "moc[.]exe -fplugin/yfx_import_dlg[.]h")
  expect_match("SDK libraries linked" "${ninja}" "lib/x64/QtScript4[.]lib")
  expect_match("installed into plugins/" "${install}" "/plugins\" TYPE MODULE")
  expect_match("the licence and the readme beside plugins/" "${install}"
               "TYPE FILE FILES[ \n]*\"[^\"]*/packaging/README.txt\"[ \n]*\"[^\"]*/LICENSE\"")
  expect_match("ZIP package" "${cpack}" "CPACK_GENERATOR \"ZIP\"")
  expect_match("package name" "${cpack}" "CPACK_PACKAGE_FILE_NAME \"yfx_filter_64-[0-9.]+-x64\"")
  if(ninja MATCHES "dzcore_autogen|Qt5")
    expect("the stand-in or Qt 5 in the real-host build" "present" "absent")
  endif()
endif()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} failed")
endif()
