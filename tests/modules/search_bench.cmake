# The search benchmark: a program of its own with the main dialog's resources
# (never part of the test executable), run under Wine by bench/search.sh.
add_executable(calverin_searchbench ${CMAKE_SOURCE_DIR}/bench/SearchBench.cpp res/Calverin.rc)
target_compile_options(calverin_searchbench PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(calverin_searchbench PRIVATE calverin_core)
target_link_options(calverin_searchbench PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_searchbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
