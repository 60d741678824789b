# Sanitizer and fuzzing builds. VEYRUN_SANITIZE instruments every target of the project with
# AddressSanitizer (LeakSanitizer included) and UndefinedBehaviorSanitizer; scripts/run-sanitized.sh
# builds it in build-asan and runs the whole suite with the options in tests/sanitizers/.
# VEYRUN_FUZZ (clang only) adds libFuzzer's coverage hooks and builds the targets in tests/fuzz.
option(VEYRUN_SANITIZE "Instrument the project with ASan, LSan and UBSan" OFF)
option(VEYRUN_FUZZ "Build the libFuzzer targets (needs clang)" OFF)

add_library(veyrun_sanitizers INTERFACE)
if(VEYRUN_SANITIZE OR VEYRUN_FUZZ)
  # float-cast-overflow is real undefined behaviour that numbers from files can reach, but
  # GCC leaves it out of "undefined".
  set(VEYRUN_SANITIZER_FLAGS
    -fsanitize=address,undefined,float-cast-overflow
    -fno-omit-frame-pointer       # whole stacks in reports, also through fast unwinding
    -fno-optimize-sibling-calls)  # no frames lost to tail calls
  target_compile_options(veyrun_sanitizers INTERFACE ${VEYRUN_SANITIZER_FLAGS})
  target_link_options(veyrun_sanitizers INTERFACE ${VEYRUN_SANITIZER_FLAGS})
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # GCC's flow analysis sees the instrumented code and reports uninitialised reads that are
    # not there (in libstdc++'s <regex>, for one); the ordinary build keeps the warning.
    target_compile_options(veyrun_sanitizers INTERFACE -Wno-maybe-uninitialized)
  endif()
  if(VEYRUN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "VEYRUN_FUZZ needs clang (CC=clang-14 CXX=clang++-14)")
    endif()
    # Coverage feedback in the libraries; only the fuzz programs link libFuzzer's main.
    target_compile_options(veyrun_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
  endif()
  # Every target made after this line, in this folder and below, is instrumented; an installed
  # runtime asks nothing of them of the game.
  link_libraries($<BUILD_INTERFACE:veyrun_sanitizers>)
endif()
