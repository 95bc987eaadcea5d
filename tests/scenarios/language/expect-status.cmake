# Runs the simulator on a scenario and checks its exit status and that standard error says
# MESSAGE; a malformed scenario (status 2) must also have run nothing.
#   cmake -DSIM=lumivoke-sim -DSCENARIO=FILE -DSTATUS=N -DMESSAGE=TEXT -P expect-status.cmake
execute_process(COMMAND "${SIM}" "${SCENARIO}" RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, not ${STATUS}; standard error:\n${err}")
endif()
string(FIND "${err}" "${MESSAGE}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "standard error does not say \"${MESSAGE}\":\n${err}")
endif()
if(STATUS EQUAL 2 AND NOT out STREQUAL "")
  message(FATAL_ERROR "a malformed scenario ran:\n${out}")
endif()
