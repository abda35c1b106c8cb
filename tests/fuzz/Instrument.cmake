# Coverage and sanitizer instrumentation for every target of a fuzz build, so
# that the fuzzers see into the product code they drive. The fuzz targets add
# libFuzzer's own main when they link.
if(CMAKE_CROSSCOMPILING OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QUELLAN_FUZZ needs a native clang build")
endif()
if(NOT QUELLAN_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUELLAN_FUZZ brings its own sanitizers")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
