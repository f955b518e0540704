# Runs the console tool in the demo machine's prefix and compares its
# standard output with the expected report, byte for byte.
if(NOT EXISTS "${PREFIX}/system.reg")
  message(FATAL_ERROR "no demo machine in ${PREFIX}: run scripts/demo-machine.sh ${PREFIX} first")
endif()
separate_arguments(args UNIX_COMMAND "${ARGS}")
execute_process(COMMAND wine "${TOOL}" ${args}
                INPUT_FILE /dev/null OUTPUT_FILE "${ACTUAL}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "varnock-report exited with ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${EXPECTED}" "${ACTUAL}"
                RESULT_VARIABLE differ)
if(differ)
  execute_process(COMMAND diff -u "${EXPECTED}" "${ACTUAL}")
  message(FATAL_ERROR "the report differs from ${EXPECTED}")
endif()
