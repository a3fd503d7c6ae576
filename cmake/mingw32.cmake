# Windows x86 with MinGW-w64; test programs run under Wine's 32-bit loader
# (package wine32, an i386 package).
set(YFX_TARGET_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
set(YFX_WINE /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/MinGW.cmake)
