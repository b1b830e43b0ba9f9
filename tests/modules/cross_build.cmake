# The second-start hand-off between the two builds, registered in the 64-bit
# build (its prefix runs both); the 32-bit program is the sibling build's.
if(CALVERIN_ARCH STREQUAL "win64")
    add_test(NAME handoff_across_builds
        COMMAND ${CMAKE_SOURCE_DIR}/tests/modules/cross-build.sh
                ${CMAKE_BINARY_DIR}/calverin_tests.exe
                ${CMAKE_BINARY_DIR}/../win32/Calverin.exe
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(handoff_across_builds PROPERTIES
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
        SKIP_RETURN_CODE 77 TIMEOUT 120)
endif()
