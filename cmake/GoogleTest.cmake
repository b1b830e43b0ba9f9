# GoogleTest built from source with the build's own compiler. Debian's
# googletest package puts the source in /usr/src/googletest; another place can
# be given with -DCALVERIN_GTEST_SOURCE=DIR.
find_path(CALVERIN_GTEST_SOURCE NAMES googletest/include/gtest/gtest.h
    PATHS /usr/src /usr/local/src /opt/local/src PATH_SUFFIXES googletest
    NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
if(NOT CALVERIN_GTEST_SOURCE)
    message(FATAL_ERROR "No GoogleTest source found: install the googletest package "
        "(scripts/install-deps.sh) or pass -DCALVERIN_GTEST_SOURCE=DIR")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${CALVERIN_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
