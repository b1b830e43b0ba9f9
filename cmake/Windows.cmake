# The 32-bit Windows build: the program, its test executable and test modules.
enable_language(RC)

# One place for the Windows version the program targets (XP and later).
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)

set(CALVERIN_WARNINGS -Wall -Wextra -Wno-unused-parameter -Wno-cast-function-type)

file(GLOB CALVERIN_WIN_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/engine/*.cpp
    ${CMAKE_SOURCE_DIR}/jobs/*.cpp
    ${CMAKE_SOURCE_DIR}/app/*.cpp
    ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(REMOVE_ITEM CALVERIN_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/WinMain.cpp)

add_library(calverin_core STATIC ${CALVERIN_WIN_SOURCES})
target_include_directories(calverin_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(calverin_core PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(calverin_core PUBLIC
    comctl32 comdlg32 shell32 ole32 gdi32 user32 advapi32 kernel32)

# Calverin.exe: one self-contained PE32 GUI program importing system DLLs only.
add_executable(Calverin WIN32 app/WinMain.cpp res/Calverin.rc)
target_compile_options(Calverin PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(Calverin PRIVATE calverin_core)
target_link_options(Calverin PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(Calverin PROPERTIES OUTPUT_NAME Calverin
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# GoogleTest from Debian's source package, built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# One test executable keeps Wine start-ups few. It carries the program's own
# resources, so dialogs can be created in-process.
file(GLOB CALVERIN_WIN_TESTS CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/engine/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/jobs/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/app/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_executable(calverin_tests ${CALVERIN_WIN_TESTS} res/Calverin.rc)
target_compile_options(calverin_tests PRIVATE ${CALVERIN_WARNINGS})
target_link_libraries(calverin_tests PRIVATE calverin_core gtest)
target_link_options(calverin_tests PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(calverin_tests Calverin)

# Extra test targets (resource-only DLLs, helper programs) register here.
file(GLOB CALVERIN_TEST_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/modules/*.cmake)
foreach(module ${CALVERIN_TEST_MODULES})
    include(${module})
endforeach()

add_test(NAME wine_tests
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh ${CMAKE_BINARY_DIR}/calverin_tests.exe
            --gtest_brief=1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(wine_tests PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix" TIMEOUT 3000)
