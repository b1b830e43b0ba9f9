# Resource-only modules for the resource-module tests, built beside
# calverin_tests.exe: no code, no C runtime, no entry point.
foreach(module custom_options custom_about)
    add_library(${module} SHARED ${CMAKE_SOURCE_DIR}/tests/modules/${module}.rc)
    target_include_directories(${module} PRIVATE ${CMAKE_SOURCE_DIR})
    # GNU ld has no --no-entry for PE; entry address 0 means none.
    target_link_options(${module} PRIVATE -nostdlib -Wl,-e,0)
    set_target_properties(${module} PROPERTIES
        PREFIX "" LINKER_LANGUAGE C
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    add_dependencies(calverin_tests ${module})
endforeach()
