# The program's file format and imports, checked without running it.
add_test(NAME pe_check_${CALVERIN_ARCH}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/modules/pe-check.sh ${CALVERIN_ARCH}
            ${CMAKE_BINARY_DIR}/Calverin.exe)
