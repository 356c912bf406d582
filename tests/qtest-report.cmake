# Runs a QTest program through the emulator with its report written to a file, then shows the
# report; fails when the test program does.
# cmake -Dtest=PROGRAM -Demulator=EMULATOR;ARGUMENTS... -P qtest-report.cmake
set(report "${test}.txt")
file(REMOVE "${report}")
execute_process(COMMAND ${emulator} ${test} -o "${report},txt" RESULT_VARIABLE status)
if(EXISTS "${report}")
    file(READ "${report}" text)
    message("${text}")
endif()
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${test} ended with ${status}")
endif()
