# Test helpers of the dialog tests.

# A stand-in browser that records the addresses it is asked to open.
add_executable(calverin_url_recorder WIN32 ${CMAKE_SOURCE_DIR}/tests/modules/UrlRecorder.cpp)
target_link_options(calverin_url_recorder PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_url_recorder PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(calverin_tests calverin_url_recorder)
