# Runs the check on the planted tree: it must fail, and report exactly the
# planted faults (and not the planted code that is right).
execute_process(COMMAND ${PYTHON} ${CHECK} ${PLANTED} OUTPUT_VARIABLE found RESULT_VARIABLE result)
file(READ ${EXPECTED} expected)
if(result EQUAL 0)
    message(FATAL_ERROR "the check passed a tree of planted faults")
endif()
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "the check found:\n${found}\nbut the planted faults are:\n${expected}")
endif()
