# Cross toolchain: 32-bit Windows (PE32, i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CALVERIN_MINGW_TRIPLE i686-w64-mingw32)
set(CALVERIN_WINE_LOADER /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
