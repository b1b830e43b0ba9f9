# The optional-functions tests start a helper process next to a planted
# uxtheme.dll. The DLL lies in its own folder: beside a test program it would
# be that program's own choice.
add_library(planted_uxtheme SHARED ${CMAKE_SOURCE_DIR}/tests/modules/PlantedTheme.cpp)
set_target_properties(planted_uxtheme PROPERTIES
    PREFIX "" OUTPUT_NAME uxtheme
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/planted)
target_link_options(planted_uxtheme PRIVATE -static -static-libgcc -Wl,--kill-at)

add_executable(calverin_optional_probe ${CMAKE_SOURCE_DIR}/tests/modules/OptionalProbe.cpp)
target_compile_options(calverin_optional_probe PRIVATE ${CALVERIN_WARNINGS})
target_link_libraries(calverin_optional_probe PRIVATE calverin_core)
target_link_options(calverin_optional_probe PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_optional_probe PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

add_dependencies(calverin_tests planted_uxtheme calverin_optional_probe)
