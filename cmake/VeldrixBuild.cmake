# Shared compile settings and the helpers every folder uses.

set(VELDRIX_WARNINGS -Wall -Wextra -Werror)

add_library(veldrix_options INTERFACE)
target_compile_options(veldrix_options INTERFACE ${VELDRIX_WARNINGS})
if(VELDRIX_WIN32)
  target_compile_definitions(veldrix_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)
elseif(VELDRIX_SANITIZE AND NOT VELDRIX_FUZZ)
  # GCC's undefined-behaviour set leaves out a double cast to an integer that
  # cannot hold it; clang's (the fuzz tree's) takes it in.
  target_compile_options(veldrix_options INTERFACE -fsanitize=address,undefined,float-cast-overflow
                                                   -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(veldrix_options INTERFACE -fsanitize=address,undefined,float-cast-overflow)
endif()
if(VELDRIX_FUZZ)
  target_compile_options(veldrix_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined
                                                   -fno-sanitize-recover=all)
  target_link_options(veldrix_options INTERFACE -fsanitize=address,undefined)
endif()

# veldrix_test(<name> SOURCES ... LIBS ...): one GoogleTest program, one CTest
# entry (a Wine start costs about a second, so cases are not registered one by one).
function(veldrix_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(VELDRIX_FUZZ)
    return()  # the fuzz tree runs only the fuzzers
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE veldrix_options GTest::gtest_main ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "VELDRIX_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;VELDRIX_SHOTS=${CMAKE_BINARY_DIR}/shots")
endfunction()

# veldrix_fuzzer(<name> SOURCES ... LIBS ... CORPUS dir RUNS n DICT file): a
# libFuzzer target, run briefly as a test over its seed corpus (n runs from a
# fresh start, at most 20 seconds, so the test run stays short). Every target
# is listed in the tree's fuzz-targets.txt (name, seed corpus, dictionary),
# which scripts/fuzz.sh reads for its campaigns.
function(veldrix_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS;RUNS;DICT" "SOURCES;LIBS" ${ARGN})
  if(NOT VELDRIX_FUZZ)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE veldrix_options veldrix_test_support ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(NOT F_RUNS)
    set(F_RUNS 20000)
  endif()
  set(dict_option "")
  if(F_DICT)
    set(dict_option "-dict=${F_DICT}")
  endif()
  set(work "${CMAKE_BINARY_DIR}/fuzz-work/${name}")
  add_test(NAME ${name}
           COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=1
                   sh -c "rm -rf '${work}' && mkdir -p '${work}' && exec \"$0\" -runs=${F_RUNS} -max_total_time=20 -seed=1 ${dict_option} '${work}' \"$@\""
                   $<TARGET_FILE:${name}> ${F_CORPUS})
  set_property(GLOBAL APPEND PROPERTY VELDRIX_FUZZ_TARGETS "${name}\t${F_CORPUS}\t${F_DICT}")
endfunction()

# veldrix_fuzz_seeds(<program> SOURCES ... LIBS ... [FOUND dir]): a program
# that writes a fuzz target's seed corpus with the content builder at build
# time, into <binary dir>/<program>; that path is left in <program>_dir for
# the target's CORPUS. FOUND names a folder of inputs that campaigns found
# (kept once mended), copied in beside the written seeds so that every run of
# the target replays them.
function(veldrix_fuzz_seeds program)
  cmake_parse_arguments(S "" "FOUND" "SOURCES;LIBS" ${ARGN})
  if(NOT VELDRIX_FUZZ)
    return()
  endif()
  add_executable(${program} ${S_SOURCES})
  target_link_libraries(${program} PRIVATE veldrix_options ${S_LIBS})
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${program}")
  set(found_files "")
  set(copy_found "")
  if(S_FOUND)
    file(GLOB found_files CONFIGURE_DEPENDS "${S_FOUND}/*")
    if(found_files)
      set(copy_found COMMAND ${CMAKE_COMMAND} -E copy ${found_files} "${dir}")
    endif()
  endif()
  add_custom_command(OUTPUT "${dir}.stamp"
                     COMMAND ${program} "${dir}"
                     ${copy_found}
                     COMMAND ${CMAKE_COMMAND} -E touch "${dir}.stamp"
                     DEPENDS ${program} ${found_files})
  add_custom_target(${program}_corpus ALL DEPENDS "${dir}.stamp")
  set(${program}_dir "${dir}" PARENT_SCOPE)
endfunction()

# Writes fuzz-targets.txt once every folder has declared its targets.
function(veldrix_write_fuzz_manifest)
  if(NOT VELDRIX_FUZZ)
    return()
  endif()
  get_property(targets GLOBAL PROPERTY VELDRIX_FUZZ_TARGETS)
  set(lines "")
  foreach(target IN LISTS targets)
    string(APPEND lines "${target}\n")
  endforeach()
  file(WRITE "${CMAKE_BINARY_DIR}/fuzz-targets.txt" "${lines}")
endfunction()
