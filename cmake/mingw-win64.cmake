# Cross toolchain: 64-bit Windows (PE32+, x86-64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CALVERIN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CALVERIN_WINE_LOADER /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
