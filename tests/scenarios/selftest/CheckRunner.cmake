# Runs korval-scenario (RUNNER) on the self-test files in DIR and checks its report lines
# and exit status: a passing and a failing file, bad usage, and a clean run.
function(run_runner expected_rc)
  execute_process(COMMAND ${RUNNER} ${ARGN} WORKING_DIRECTORY ${DIR}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL expected_rc)
    message(FATAL_ERROR "korval-scenario ${ARGN}: exit ${rc}, wanted ${expected_rc}\n${out}${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_output text)
  string(FIND "${out}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "wanted in the report:\n${text}\ngot:\n${out}")
  endif()
endfunction()

run_runner(1 passes.scn must_fail.scn)
expect_output("PASS passes.scn\nFAIL must_fail.scn:6: expect text 1002 12.4 — found \"12.3\"\n1 passed, 1 failed\n")

run_runner(0 passes.scn)
expect_output("PASS passes.scn\n1 passed, 0 failed\n")

run_runner(2 --bogus passes.scn)
run_runner(2)
run_runner(0 --help)
expect_output("usage: korval-scenario")
