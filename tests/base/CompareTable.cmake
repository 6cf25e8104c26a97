# Regenerates the GB18030 two-byte table and requires it to equal the committed one.
execute_process(COMMAND ${PYTHON} ${SOURCE_DIR}/tools/gb18030/make-table.py
    OUTPUT_FILE ${WORK_DIR}/Gb18030Table.inc RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "make-table.py failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/Gb18030Table.inc
    ${SOURCE_DIR}/base/Gb18030Table.inc RESULT_VARIABLE differs)
if(differs)
    message(FATAL_ERROR "base/Gb18030Table.inc differs from tools/gb18030/make-table.py's output")
endif()
