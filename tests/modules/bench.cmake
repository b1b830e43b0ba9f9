# The file-hashing benchmark: a console program of its own (never part of the
# test executable), run under Wine by bench/run.sh.
add_executable(calverin_hashbench ${CMAKE_SOURCE_DIR}/bench/HashFileBench.cpp)
target_compile_options(calverin_hashbench PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(calverin_hashbench PRIVATE calverin_core)
target_link_options(calverin_hashbench PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_hashbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
