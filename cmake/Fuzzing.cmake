# The fuzz build. libFuzzer steers by the coverage of the code it runs, so every library and tool
# of this build is compiled with coverage instrumentation (fuzzer-no-link); libFuzzer's runtime
# and main() are linked only into the fuzz drivers (see fuzz/CMakeLists.txt). Without the first,
# a target sees nothing but its own driver and reports a dozen edges however long it runs.
# Included before any library is declared, so the options reach all of them.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_C_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VARNEL_BUILD_FUZZ needs clang: configure with CC=clang CXX=clang++ "
                        "(make fuzz does this; scripts/install-deps.sh fuzz installs it)")
endif()
# The sanitizers are what turn a bad read into a finding; their runtime also serves the coverage
# hooks of the programs that do not link libFuzzer (the application and the tools).
if(NOT VARNEL_SANITIZE)
    message(FATAL_ERROR "VARNEL_BUILD_FUZZ needs VARNEL_SANITIZE=ON")
endif()
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-fsanitize=fuzzer-no-link>)
