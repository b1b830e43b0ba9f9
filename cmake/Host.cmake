# The native build of the units that need no Windows API, under AddressSanitizer
# and UBSan, with their tests and (with clang) libFuzzer targets.
set(CALVERIN_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_compile_options(-g -O1 ${CALVERIN_SANITIZE})
add_link_options(${CALVERIN_SANITIZE})

include(cmake/GoogleTest.cmake)

add_library(calverin_pure STATIC ${CALVERIN_PURE_SOURCES})
target_include_directories(calverin_pure PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(calverin_pure PRIVATE -Wall -Wextra -Werror -fno-exceptions -fno-rtti)

add_executable(calverin_host_tests ${CALVERIN_PURE_TESTS})
target_link_libraries(calverin_host_tests PRIVATE calverin_pure gtest gtest_main)
add_test(NAME host_tests COMMAND calverin_host_tests --gtest_brief=1)

# A short fuzz pass per target; bench/fuzz/README.md tells how to run a long one.
set(CALVERIN_FUZZ_SECONDS 10 CACHE STRING "Seconds of each fuzz pass in the test run")
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # The units under test carry the fuzzer's coverage too, so that it can
    # steer into their branches, not only the harnesses'.
    add_library(calverin_pure_fuzz STATIC ${CALVERIN_PURE_SOURCES})
    target_include_directories(calverin_pure_fuzz PUBLIC ${CMAKE_SOURCE_DIR})
    target_compile_options(calverin_pure_fuzz PRIVATE -Wall -Wextra -Werror -fno-exceptions -fno-rtti
                           -fsanitize=fuzzer-no-link)
    foreach(pair ${CALVERIN_FUZZERS})
        string(REPLACE "=" ";" fields ${pair})
        list(GET fields 0 name)
        list(GET fields 1 source)
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE calverin_pure_fuzz)
        target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        set(corpus ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
        add_test(NAME ${name}
            COMMAND ${name} -max_total_time=${CALVERIN_FUZZ_SECONDS} -rss_limit_mb=2048
                    -artifact_prefix=${CMAKE_BINARY_DIR}/ ${CMAKE_BINARY_DIR}/fuzz-${name} ${corpus})
        file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz-${name})
    endforeach()
endif()

# The source tree's own rules: includes point only to the own layer or below,
# and every C++ file is formatted.
add_test(NAME layers COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-layers.sh ${CMAKE_SOURCE_DIR})
add_test(NAME format COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-format.sh ${CMAKE_SOURCE_DIR})
