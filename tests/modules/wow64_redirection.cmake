# The file-system redirection tests: the 32-bit test program (of the build
# beside this one, as scripts/build.sh places it) in the 64-bit build's
# prefix, where the system folder is redirected for it. Registered by the
# 64-bit build, which runs everywhere; the script skips, saying why, where
# 32-bit programs cannot run.
if(CALVERIN_ARCH STREQUAL "win64")
    add_test(NAME wow64_redirection
        COMMAND ${CMAKE_SOURCE_DIR}/tests/modules/wow64-redirection.sh
                ${CMAKE_BINARY_DIR}/../win32/calverin_tests.exe
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(wow64_redirection PROPERTIES
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
        SKIP_RETURN_CODE 77
        TIMEOUT 300)
endif()
