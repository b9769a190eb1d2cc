# cmake -DPROGRAM=gomcfgctl -DOUTPUT=pages.json -P WritePagesJson.cmake: the page model as the
# built gomcfgctl exports it, for the Cockpit page to bundle.
execute_process(COMMAND ${PROGRAM} pages --json
    OUTPUT_FILE ${OUTPUT}.new
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE ${OUTPUT}.new)
    message(FATAL_ERROR "${PROGRAM} pages --json failed: ${status}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
