# Runs one driver scenario and compares its output with the expected one.
# In the script and the expected output, @SCENARIOS@ stands for the scenarios
# folder and @SCRATCH@ for an empty folder of this run.
# Policies of this CMake version: "@SCENARIOS@" is then a literal, not a variable.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${SCRATCH})
file(MAKE_DIRECTORY ${SCRATCH})
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)

function(expand in out)
  file(READ ${in} text)
  string(REPLACE "@SCENARIOS@" "${SCENARIOS}" text "${text}")
  string(REPLACE "@SCRATCH@" "${SCRATCH}" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

expand(${SCRIPT} script_text)
file(WRITE ${SCRATCH}/script.txt "${script_text}")
set(args ${SCRATCH}/script.txt)
if(MODE STREQUAL "window")
  set(args --window ${args})
endif()
execute_process(COMMAND ${DRIVER} ${args}
  WORKING_DIRECTORY ${SCRATCH}
  OUTPUT_VARIABLE actual ERROR_VARIABLE actual_err RESULT_VARIABLE status)

expand(${dir}/${name}.out expected)
set(expected_status 0)
set(expected_err "")
if(EXISTS ${dir}/${name}.err)
  expand(${dir}/${name}.err expected_err)
  set(expected_status 2)
endif()

set(failed FALSE)
if(NOT actual STREQUAL expected)
  file(WRITE ${SCRATCH}/actual.out "${actual}")
  file(WRITE ${SCRATCH}/expected.out "${expected}")
  execute_process(COMMAND diff -u ${SCRATCH}/expected.out ${SCRATCH}/actual.out OUTPUT_VARIABLE diff)
  message("output differs:\n${diff}")
  set(failed TRUE)
endif()
if(NOT status EQUAL expected_status)
  message("exit status ${status}, expected ${expected_status}; stderr:\n${actual_err}")
  set(failed TRUE)
elseif(expected_status EQUAL 2 AND NOT actual_err STREQUAL expected_err)
  message("error output differs:\n${actual_err}\nexpected:\n${expected_err}")
  set(failed TRUE)
endif()
if(failed)
  message(FATAL_ERROR "scenario ${name} (${MODE}) failed")
endif()
