# Sanitized builds (ULMO_SANITIZE, ULMO_FUZZ): every library and program is instrumented, so a
# fault in framework code called from a module library is caught where it happens. A finding
# stops the program (no recovery), so a test or a fuzz run cannot pass over it. GCC leaves the
# float-to-integer overflow out of "undefined"; clang has it there already.
set(_ulmo_sanitizers -fsanitize=address,undefined,float-cast-overflow -fno-sanitize-recover=all -fno-omit-frame-pointer)
if(ULMO_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ULMO_FUZZ needs clang (libFuzzer): configure with CC=clang CXX=clang++")
  endif()
  # Coverage for libFuzzer in every library; only the fuzz targets link its main.
  list(APPEND _ulmo_sanitizers -fsanitize=fuzzer-no-link)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # GCC's flow analysis under ASan flags <regex> and <functional> internals as maybe uninitialized
  # (false positives it documents for instrumented code); the normal build still checks them.
  list(APPEND _ulmo_sanitizers -Wno-maybe-uninitialized)
endif()
add_compile_options(${_ulmo_sanitizers})
add_link_options(-fsanitize=address,undefined,float-cast-overflow)
