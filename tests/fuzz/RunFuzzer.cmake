# Runs one libFuzzer target for SECONDS seconds from its SEEDS, with a fresh
# WORK folder for the inputs it finds and the one that fails, if any.
#   -DFUZZER=path -DSEEDS=folder -DWORK=folder -DSECONDS=n
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus)
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -print_final_stats=1 -artifact_prefix=${WORK}/
                        ${WORK}/corpus ${SEEDS}
    RESULT_VARIABLE exit_code ERROR_VARIABLE log)
string(REGEX MATCH "stat::number_of_executed_units: [0-9]+" runs "${log}")
message(STATUS "${runs}")
if(NOT exit_code STREQUAL "0")
    message(FATAL_ERROR "${FUZZER} failed (${exit_code}); the input is in ${WORK}:\n${log}")
endif()
