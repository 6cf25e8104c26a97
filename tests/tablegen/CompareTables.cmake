# Regenerates the tables and requires them to equal the committed ones.
foreach(table solar-terms:SolarTermTable lunar-years:LunarYearTable moon-phases:MoonPhaseTable)
    string(REPLACE ":" ";" parts ${table})
    list(GET parts 0 command)
    list(GET parts 1 name)
    execute_process(COMMAND ${TABLEGEN} ${command} OUTPUT_FILE ${WORK_DIR}/${name}.inc RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "tablegen ${command} failed: ${result}")
    endif()
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${name}.inc ${ENGINE_DIR}/${name}.inc
        RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "engine/${name}.inc differs from `tablegen ${command}`; "
                            "run `cmake --build build/native --target regenerate-tables` and review the change")
    endif()
endforeach()
