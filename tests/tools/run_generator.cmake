# Fixture for the generator tests: a fresh tree written once per test run.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${GEN}" "${OUT}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gen_content failed: ${rc}")
endif()
