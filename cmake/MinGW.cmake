# Shared part of the MinGW-w64 toolchain files: Debian's cross compilers (the
# posix threads flavour), the target's libraries from its sysroot and from the
# folder scripts/target-deps.sh builds them into (YFX_TARGET_DEPS), everything
# linked statically so that a test program runs without DLLs beside it, and
# Wine as the emulator that runs the test programs.
# The including file sets YFX_TARGET_TRIPLET, CMAKE_SYSTEM_PROCESSOR and YFX_WINE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${YFX_TARGET_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${YFX_TARGET_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${YFX_TARGET_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${YFX_TARGET_TRIPLET})
if(YFX_TARGET_DEPS)
  list(PREPEND CMAKE_FIND_ROOT_PATH ${YFX_TARGET_DEPS})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_CROSSCOMPILING_EMULATOR ${YFX_WINE})
