# A Windows build (32-bit or 64-bit, by the toolchain file): the program, its
# test executable and test modules.
enable_language(RC)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CALVERIN_ARCH win64)
    set(CALVERIN_MANIFEST_ARCH amd64)
else()
    set(CALVERIN_ARCH win32)
    set(CALVERIN_MANIFEST_ARCH x86)
endif()

# The version is written once, as the project version; the resources take it
# from these generated files.
set(CALVERIN_VERSION_QUAD ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0)
configure_file(${CMAKE_SOURCE_DIR}/res/Version.h.in ${CMAKE_BINARY_DIR}/res/Version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/Calverin.manifest.in ${CMAKE_BINARY_DIR}/res/Calverin.manifest
               @ONLY)
# Every resource script of the build finds them there. The resource compiler
# reports no dependencies, so the files the script pulls in are named here.
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I ${CMAKE_BINARY_DIR}/res")
file(GLOB CALVERIN_RES_FILES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/res/*.bmp ${CMAKE_SOURCE_DIR}/res/*.ico ${CMAKE_SOURCE_DIR}/res/*.h)
set_source_files_properties(${CMAKE_SOURCE_DIR}/res/Calverin.rc PROPERTIES OBJECT_DEPENDS
    "${CALVERIN_RES_FILES};${CMAKE_BINARY_DIR}/res/Version.h;${CMAKE_BINARY_DIR}/res/Calverin.manifest")

# One place for the Windows version the program targets (XP and later).
add_compile_definitions(_WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 NOMINMAX)

set(CALVERIN_WARNINGS -Wall -Wextra -Werror -Wno-unused-parameter -Wno-cast-function-type)

file(GLOB CALVERIN_WIN_SOURCES CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/engine/*.cpp
    ${CMAKE_SOURCE_DIR}/system/*.cpp
    ${CMAKE_SOURCE_DIR}/jobs/*.cpp
    ${CMAKE_SOURCE_DIR}/app/*.cpp
    ${CMAKE_SOURCE_DIR}/ui/*.cpp)
list(REMOVE_ITEM CALVERIN_WIN_SOURCES ${CMAKE_SOURCE_DIR}/app/WinMain.cpp)

add_library(calverin_core STATIC ${CALVERIN_WIN_SOURCES})
target_include_directories(calverin_core PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(calverin_core PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(calverin_core PUBLIC
    comctl32 comdlg32 shell32 ole32 gdi32 user32 advapi32 kernel32)

# Calverin.exe: one self-contained GUI program importing system DLLs only.
add_executable(Calverin WIN32 app/WinMain.cpp res/Calverin.rc)
target_compile_options(Calverin PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(Calverin PRIVATE calverin_core)
target_link_options(Calverin PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(Calverin PROPERTIES OUTPUT_NAME Calverin
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The tests' copy of the file calls also opens named pipes, which the program
# refuses like every handle that is not a disk file: a test's pipe is a file
# whose bytes come when the test says, so it holds a job in mid-file. Its
# objects come ahead of calverin_core on the link line and so take the place
# of the library's copy. CalverinGated.exe is the program built with it.
add_library(calverin_gated_path OBJECT system/WidePath.cpp)
target_include_directories(calverin_gated_path PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(calverin_gated_path PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_compile_definitions(calverin_gated_path PRIVATE CALVERIN_ADMIT_PIPES)
add_executable(CalverinGated WIN32 app/WinMain.cpp res/Calverin.rc
    $<TARGET_OBJECTS:calverin_gated_path>)
target_compile_options(CalverinGated PRIVATE ${CALVERIN_WARNINGS} -fno-exceptions -fno-rtti)
target_link_libraries(CalverinGated PRIVATE calverin_core)
target_link_options(CalverinGated PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(CalverinGated PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# GoogleTest built with the cross compiler.
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
include(cmake/GoogleTest.cmake)

# One test executable keeps Wine start-ups few. It carries the program's own
# resources, so dialogs can be created in-process.
file(GLOB CALVERIN_WIN_TESTS CONFIGURE_DEPENDS
    ${CMAKE_SOURCE_DIR}/tests/engine/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/system/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/jobs/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/app/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/ui/*.cpp
    ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_executable(calverin_tests ${CALVERIN_WIN_TESTS} res/Calverin.rc
    $<TARGET_OBJECTS:calverin_gated_path>)
target_compile_options(calverin_tests PRIVATE ${CALVERIN_WARNINGS})
target_link_libraries(calverin_tests PRIVATE calverin_core gtest)
target_link_options(calverin_tests PRIVATE -static -static-libgcc -static-libstdc++)
set_target_properties(calverin_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(calverin_tests Calverin CalverinGated)

# Extra test targets (resource-only DLLs, helper programs) register here.
file(GLOB CALVERIN_TEST_MODULES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/modules/*.cmake)
foreach(module ${CALVERIN_TEST_MODULES})
    include(${module})
endforeach()

add_test(NAME wine_tests_${CALVERIN_ARCH}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-exec.sh ${CMAKE_BINARY_DIR}/calverin_tests.exe
            --gtest_brief=1
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
set_tests_properties(wine_tests_${CALVERIN_ARCH} PROPERTIES
    ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;CALVERIN_WINE_ARCH=${CALVERIN_ARCH}"
    SKIP_RETURN_CODE 77 TIMEOUT 3000)
