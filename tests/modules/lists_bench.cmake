# bench/ListsBench.cpp: verifying checksum lists on the real Calverin.exe
# (bench/lists.sh runs it), built beside Calverin.exe like the road bench.
add_executable(lists_bench
    ${CMAKE_SOURCE_DIR}/bench/ListsBench.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/AppDriver.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/BoxWatch.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/PipeFile.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/TestSupport.cpp)
target_include_directories(lists_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(lists_bench PRIVATE ${CALVERIN_WARNINGS})
target_link_libraries(lists_bench PRIVATE psapi shell32 advapi32 gdi32 user32)
target_link_options(lists_bench PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(lists_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(lists_bench Calverin CalverinGated)
