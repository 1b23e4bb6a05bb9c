# Checks that the CTest entry ENTRY of the tree BUILD_DIR reports a GoogleTest
# skip of its test as a skip: without a SKIP_REGULAR_EXPRESSION that matches
# the line GoogleTest prints for it, a skip shows as Passed and nothing fails.
# The test is the one the entry's --gtest_filter selects in PROGRAM; its lines,
# skipped and passed, come from SAMPLE (skip_line_sample.cpp), built with the
# same GoogleTest, so neither the name nor the line's layout is copied here.
# Usage: cmake -DBUILD_DIR=... -DENTRY=... -DPROGRAM=... -DSAMPLE=...
#              -P skip_property_test.cmake -- <emulator command...>
set(emulator "")
math(EXPR last_argument "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last_argument})
  if(DEFINED separator)
    list(APPEND emulator "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(separator ${i})
  endif()
endforeach()

execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --show-only=json-v1 WORKING_DIRECTORY "${BUILD_DIR}"
                OUTPUT_VARIABLE json COMMAND_ERROR_IS_FATAL ANY)

# The entry's filter and skip patterns.
string(JSON tests GET "${json}" tests)
string(JSON count LENGTH "${tests}")
math(EXPR last "${count} - 1")
foreach(t RANGE ${last})
  string(JSON name GET "${tests}" ${t} name)
  if(name STREQUAL ENTRY)
    string(JSON entry GET "${tests}" ${t})
  endif()
endforeach()
if(NOT DEFINED entry)
  message(FATAL_ERROR "${BUILD_DIR} has no test entry ${ENTRY}")
endif()
string(REGEX MATCH "\"--gtest_filter=([^\"]*)\"" filter "${entry}")
set(filter "${CMAKE_MATCH_1}")
set(patterns "")
string(JSON count LENGTH "${entry}" properties)
math(EXPR last "${count} - 1")
foreach(p RANGE ${last})
  string(JSON property GET "${entry}" properties ${p} name)
  if(property STREQUAL "SKIP_REGULAR_EXPRESSION")
    string(JSON values GET "${entry}" properties ${p} value)
    string(JSON count LENGTH "${values}")
    math(EXPR last "${count} - 1")
    foreach(v RANGE ${last})
      string(JSON pattern GET "${values}" ${v})
      list(APPEND patterns "${pattern}")
    endforeach()
  endif()
endforeach()
if(NOT patterns)
  message(FATAL_ERROR "${ENTRY} has no SKIP_REGULAR_EXPRESSION: a skip of its test would show as Passed")
endif()

# The one test the filter selects, as the program names it.
execute_process(COMMAND ${emulator} "${PROGRAM}" "--gtest_filter=${filter}" --gtest_list_tests
                OUTPUT_VARIABLE listing COMMAND_ERROR_IS_FATAL ANY)
set(selected "")
string(REGEX MATCHALL "[^\r\n]+" lines "${listing}")
foreach(line IN LISTS lines)
  if(line MATCHES "^([A-Za-z0-9_]+)\\.$")
    set(suite "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^  ([A-Za-z0-9_]+)")
    list(APPEND selected "${suite}.${CMAKE_MATCH_1}")
  endif()
endforeach()
list(LENGTH selected count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "${ENTRY}'s filter '${filter}' selects ${count} tests of ${PROGRAM}, not one:\n${listing}")
endif()

# Whether any pattern matches the sample's output for that test (CTest looks
# for each anywhere in the output, as MATCHES does).
function(skip_matches outcome result)
  execute_process(COMMAND ${emulator} "${SAMPLE}" "${selected}" ${outcome} OUTPUT_VARIABLE output
                  COMMAND_ERROR_IS_FATAL ANY)
  set(${result} FALSE PARENT_SCOPE)
  foreach(pattern IN LISTS patterns)
    if(output MATCHES "${pattern}")
      set(${result} TRUE PARENT_SCOPE)
    endif()
  endforeach()
  set(sample_output "${output}" PARENT_SCOPE)
endfunction()
skip_matches(skip matched)
if(NOT matched)
  message(FATAL_ERROR "${ENTRY}'s SKIP_REGULAR_EXPRESSION (${patterns}) misses the skip of ${selected}:\n"
                      "${sample_output}")
endif()
skip_matches(pass matched)
if(matched)
  message(FATAL_ERROR "${ENTRY}'s SKIP_REGULAR_EXPRESSION (${patterns}) takes a passed ${selected} for a skip:\n"
                      "${sample_output}")
endif()
message(STATUS "${ENTRY}: a skip of ${selected} is reported as one")
