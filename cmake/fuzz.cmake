# Fuzz entry points live in fuzz/<target>.cpp, each defining
# LLVMFuzzerTestOneInput, with the inputs worth keeping in
# fuzz/corpus/<target>/.
#
# Every build replays the corpora: each entry point is linked with a small
# main() that feeds it every kept input, so an input that once failed keeps
# being checked by the ordinary compiler and the sanitizer build.
#
# With -DLX_FUZZ=ON (clang++ only) the entry points are also linked with
# libFuzzer as lxfuzz_<target>; fuzz/run builds and runs them.
option(LX_FUZZ "Build the libFuzzer targets (needs clang++)" OFF)

set(LX_FUZZ_DIR ${CMAKE_SOURCE_DIR}/fuzz)
# The targets are the entry points present: a new one is replayed and
# fuzzed without being listed anywhere (fuzz/run finds them the same way).
file(GLOB LX_FUZZ_ENTRY_POINTS CONFIGURE_DEPENDS ${LX_FUZZ_DIR}/*.cpp)
list(REMOVE_ITEM LX_FUZZ_ENTRY_POINTS ${LX_FUZZ_DIR}/ReplayMain.cpp)
set(LX_FUZZ_TARGETS)
foreach(entry ${LX_FUZZ_ENTRY_POINTS})
  get_filename_component(target ${entry} NAME_WE)
  list(APPEND LX_FUZZ_TARGETS ${target})
endforeach()
# Entry points that run scripts use the recording stand-in of the
# controller from the test helpers.
set(LX_FUZZ_SUPPORT_instructions ${CMAKE_SOURCE_DIR}/tests/support/RecordingController.cpp)

if(LX_TESTS)
  foreach(target ${LX_FUZZ_TARGETS})
    add_executable(fuzz_replay_${target} ${LX_FUZZ_DIR}/${target}.cpp ${LX_FUZZ_DIR}/ReplayMain.cpp
                                         ${LX_FUZZ_SUPPORT_${target}})
    target_include_directories(fuzz_replay_${target} PRIVATE ${LX_FUZZ_DIR} ${CMAKE_SOURCE_DIR}/tests)
    target_link_libraries(fuzz_replay_${target} PRIVATE lxcore)
    add_test(NAME fuzz.replay.${target} COMMAND fuzz_replay_${target} ${LX_FUZZ_DIR}/corpus/${target})
    set_tests_properties(fuzz.replay.${target} PROPERTIES LABELS unit)
  endforeach()
endif()

if(LX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LX_FUZZ needs clang++ (configure with -DCMAKE_CXX_COMPILER=clang++)")
  endif()
  set(LX_FUZZ_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer -g)
  # The library is instrumented for coverage; libFuzzer itself is linked
  # into the entry points only. The g++ builds hold the code to warnings as
  # errors; a warning only clang gives is shown here but does not stop the
  # fuzzing.
  target_compile_options(lxcore PRIVATE -fsanitize=fuzzer-no-link ${LX_FUZZ_SANITIZERS} -Wno-error)
  foreach(target ${LX_FUZZ_TARGETS})
    add_executable(lxfuzz_${target} ${LX_FUZZ_DIR}/${target}.cpp ${LX_FUZZ_SUPPORT_${target}})
    target_include_directories(lxfuzz_${target} PRIVATE ${LX_FUZZ_DIR} ${CMAKE_SOURCE_DIR}/tests)
    target_compile_options(lxfuzz_${target} PRIVATE -fsanitize=fuzzer ${LX_FUZZ_SANITIZERS} -Wno-error)
    target_link_options(lxfuzz_${target} PRIVATE -fsanitize=fuzzer ${LX_FUZZ_SANITIZERS})
    target_link_libraries(lxfuzz_${target} PRIVATE lxcore)
  endforeach()
  add_custom_target(lxfuzz)
  foreach(target ${LX_FUZZ_TARGETS})
    add_dependencies(lxfuzz lxfuzz_${target})
  endforeach()
endif()
