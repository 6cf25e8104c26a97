# Runs almanac-cli once and checks what it did.
#   -DCLI=path [-DEMULATOR=runner] -DARGS="word word ..." -DEXPECT_EXIT=n
#   [-DOUTPUT=file]        standard output goes to this file (/dev/full: a full disk)
#   [-DEXPECT_FILE=file]   standard output must equal the file
#   [-DEXPECT_LINES=n]     standard output must have n lines
#   [-DEXPECT_STDERR=re]   standard error must match, and be one line
#   [-DEXPECT_ERRORS=re]   standard error must match (any number of lines)
#   [-DEXPECT_MATCH=re]    standard output must match
#   [-DMASK=re]            what matches in standard output becomes MASKED before it is compared
separate_arguments(ARGS UNIX_COMMAND "${ARGS}")
if(DEFINED OUTPUT)
    execute_process(COMMAND ${EMULATOR} ${CLI} ${ARGS}
        RESULT_VARIABLE exit_code OUTPUT_FILE ${OUTPUT} ERROR_VARIABLE errors)
    set(output "")
else()
    execute_process(COMMAND ${EMULATOR} ${CLI} ${ARGS}
        RESULT_VARIABLE exit_code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
endif()

if(NOT exit_code STREQUAL EXPECT_EXIT)
    message(FATAL_ERROR "exit status ${exit_code}, expected ${EXPECT_EXIT}\nstderr: ${errors}")
endif()
if(DEFINED MASK)
    string(REGEX REPLACE "${MASK}" "MASKED" output "${output}")
endif()
if(DEFINED EXPECT_FILE)
    file(READ ${EXPECT_FILE} expected)
    if(NOT output STREQUAL expected)
        message(FATAL_ERROR "output differs from ${EXPECT_FILE}:\n${output}")
    endif()
endif()
if(DEFINED EXPECT_LINES)
    string(REGEX MATCHALL "\n" newlines "${output}")
    list(LENGTH newlines lines)
    if(NOT lines EQUAL EXPECT_LINES)
        message(FATAL_ERROR "${lines} lines of output, expected ${EXPECT_LINES}")
    endif()
endif()
if(DEFINED EXPECT_MATCH AND NOT output MATCHES "${EXPECT_MATCH}")
    message(FATAL_ERROR "output does not match '${EXPECT_MATCH}':\n${output}")
endif()
if(DEFINED EXPECT_STDERR)
    if(NOT errors MATCHES "${EXPECT_STDERR}" OR NOT errors MATCHES "^[^\n]*\n$")
        message(FATAL_ERROR "stderr does not match '${EXPECT_STDERR}' on one line: ${errors}")
    endif()
    if(NOT output STREQUAL "")
        message(FATAL_ERROR "a failed command wrote to stdout: ${output}")
    endif()
endif()
if(DEFINED EXPECT_ERRORS AND NOT errors MATCHES "${EXPECT_ERRORS}")
    message(FATAL_ERROR "stderr does not match '${EXPECT_ERRORS}': ${errors}")
endif()
