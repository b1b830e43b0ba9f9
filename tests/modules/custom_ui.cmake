# Resource-only modules for the resource-module tests, built beside
# calverin_tests.exe: no code, no C runtime, no entry point. Both builds make
# them 32-bit, as such modules are found in the wild: the 64-bit program must
# read a 32-bit module as data.
foreach(module custom_options custom_about custom_main)
    set(source ${CMAKE_SOURCE_DIR}/tests/modules/${module}.rc)
    set(object ${CMAKE_BINARY_DIR}/${module}.res.o)
    set(dll ${CMAKE_BINARY_DIR}/${module}.dll)
    # GNU ld has no --no-entry for PE; entry address 0 means none.
    add_custom_command(OUTPUT ${dll}
        COMMAND i686-w64-mingw32-windres -I ${CMAKE_SOURCE_DIR} -O coff ${source} ${object}
        COMMAND i686-w64-mingw32-gcc -shared -nostdlib -Wl,-e,0 -o ${dll} ${object}
        DEPENDS ${source} ${CMAKE_SOURCE_DIR}/res/resource.h
        VERBATIM)
    add_custom_target(${module} DEPENDS ${dll})
    add_dependencies(calverin_tests ${module})
endforeach()
