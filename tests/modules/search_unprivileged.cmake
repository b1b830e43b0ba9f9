# Searches that need what a test process cannot set up for itself: folders
# without access rights (the tests run as root, whom file permissions do not
# stop) and a drive letter of its own.
add_test(NAME search_unprivileged_${CALVERIN_ARCH}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/modules/search-unprivileged.sh
            ${CMAKE_BINARY_DIR}/calverin_tests.exe
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(search_unprivileged_${CALVERIN_ARCH} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;CALVERIN_WINE_ARCH=${CALVERIN_ARCH}"
    SKIP_RETURN_CODE 77 TIMEOUT 300)
