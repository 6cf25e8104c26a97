# Runs the holiday table generator and requires its output to equal the
# committed table.
if(NOT NODE OR NODE MATCHES "NOTFOUND")
    message(FATAL_ERROR "node is missing: run tools/install-deps.sh")
endif()
execute_process(COMMAND ${NODE} ${GENERATOR} OUTPUT_FILE ${WORK_DIR}/HolidayTable.inc
    ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make-table.js failed (${result}): ${errors}\n"
                        "are the data sets installed? run tools/install-deps.sh")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/HolidayTable.inc ${TABLE} RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "engine/HolidayTable.inc differs from `node tools/holidays/make-table.js`; "
                        "regenerate it and review the change")
endif()
