# bench/RoadBench.cpp: scale and memory of the file road, measured on the real
# Calverin.exe (bench/road.sh runs it). Built beside Calverin.exe, which the
# test driver starts from its own folder.
add_executable(road_bench
    ${CMAKE_SOURCE_DIR}/bench/RoadBench.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/AppDriver.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/BoxWatch.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/PipeFile.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/TestSupport.cpp)
target_include_directories(road_bench PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(road_bench PRIVATE ${CALVERIN_WARNINGS})
target_link_libraries(road_bench PRIVATE psapi shell32 advapi32 gdi32 user32)
target_link_options(road_bench PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(road_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(road_bench Calverin CalverinGated)
