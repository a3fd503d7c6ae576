# Windows x64 with MinGW-w64; test programs run under Wine (package wine64).
set(YFX_TARGET_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(YFX_WINE /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
