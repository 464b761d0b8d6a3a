# Cross-compiles the core and its tests for 64-bit Windows with Debian's
# MinGW-w64 (the POSIX-threads flavour, for std::thread), statically, so that
# the programs run under Wine or on Windows without further DLLs.
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# The core and its tests only, unless configured with -DQUORVIN_GUI=ON through
# the Qt for Windows' own qt.toolchain.cmake, which loads this file in turn
# (QT_CHAINLOAD_TOOLCHAIN_FILE; see scripts/windows-gui-tests).
set(QUORVIN_GUI OFF CACHE BOOL "Build the Qt program and the button library")
set(QUORVIN_BENCH OFF CACHE BOOL "" FORCE)
# GCC 12 at -O3 warns of overlapping copies in "text" + std::string that
# cannot happen (its bug 105329); the Linux build, at -O2, does not see them.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")
