# The release packages of this build (installer and zip, made as
# scripts/package.sh makes them) installed, used, upgraded and removed under
# Wine in a scratch prefix of their own.
add_test(NAME installer_${CALVERIN_ARCH}
    COMMAND ${CMAKE_SOURCE_DIR}/tests/modules/installer-test.sh
            ${CALVERIN_ARCH} ${CMAKE_BINARY_DIR} ${PROJECT_VERSION}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(installer_${CALVERIN_ARCH} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 900)
