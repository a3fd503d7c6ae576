# Runs one GoogleTest program under the cross build's emulator (Wine) as one
# CTest test, and judges the run from GoogleTest's own XML report: the test
# passes only when the report exists, counts at least one test and no failure
# or error, and the program exited with 0. An emulator can exit 0 having run
# nothing (Wine given a program it cannot load), and a program that crashes
# writes no report, so neither passes.
#
# cmake -DEMULATOR=... -DPROGRAM=... -DREPORT=... -P YfxEmulatedTest.cmake
foreach(var EMULATOR PROGRAM REPORT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "YfxEmulatedTest: ${var} is not set")
  endif()
endforeach()

file(REMOVE "${REPORT}")
get_filename_component(report_folder "${REPORT}" DIRECTORY)
file(MAKE_DIRECTORY "${report_folder}")
# GoogleTest on Windows takes a path without a drive as relative to the working
# folder, so the report is written there under a plain name.
get_filename_component(report_name "${REPORT}" NAME)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --gtest_output=xml:${report_name}
                WORKING_DIRECTORY "${report_folder}" RESULT_VARIABLE status)

if(NOT EXISTS "${REPORT}")
  message(FATAL_ERROR "${PROGRAM} wrote no test report (exit status ${status}): "
                      "it did not start or it crashed")
endif()
file(READ "${REPORT}" xml)
if(NOT xml MATCHES "<testsuites tests=\"([0-9]+)\" failures=\"([0-9]+)\" disabled=\"([0-9]+)\" errors=\"([0-9]+)\"")
  message(FATAL_ERROR "${REPORT} has no test totals")
endif()
set(tests ${CMAKE_MATCH_1})
set(failures ${CMAKE_MATCH_2})
set(errors ${CMAKE_MATCH_4})
string(REGEX MATCHALL "result=\"skipped\"" skipped "${xml}")
list(LENGTH skipped skipped)
message("${tests} tests ran, ${failures} failed, ${errors} errors, ${skipped} skipped "
        "(exit status ${status})")
if(tests EQUAL 0)
  message(FATAL_ERROR "no test ran")
endif()
if(NOT failures EQUAL 0 OR NOT errors EQUAL 0 OR NOT status EQUAL 0)
  message(FATAL_ERROR "the run failed")
endif()
