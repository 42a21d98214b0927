# Cross-compiles for Windows with Debian's MinGW-w64 and runs the programs
# with Wine: scripts/windows-core.sh uses it for the widget-free core.
#
#   cmake -S . -B build/windows-i686 -DCMAKE_TOOLCHAIN_FILE=cmake/windows-cross.cmake \
#         -DKAVOLO_WINDOWS_ARCH=i686 -DKAVOLO_QT=OFF -DKAVOLO_GTEST_SOURCE=/usr/src/googletest
#
# KAVOLO_WINDOWS_ARCH is i686 (32-bit, the default) or x86_64. The
# compilers are the POSIX-thread ones: with GCC 12, MinGW-w64's win32-thread
# compilers (Debian's default alternative) have no std::mutex. Programs and
# the DLL are linked statically (libgcc, libstdc++, winpthread), so they
# run without the compiler's DLLs beside them. Tests run under Wine.
set(KAVOLO_WINDOWS_ARCH i686 CACHE STRING "i686 or x86_64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KAVOLO_WINDOWS_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KAVOLO_WINDOWS_ARCH})
set(_triple ${KAVOLO_WINDOWS_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Wine's prefix (its C: drive and registry) is made on the first run,
# which takes about 15 s; a 64-bit prefix runs 32-bit programs too, so both
# builds can share one. WINEDLLOVERRIDES keeps Wine from offering to
# install Mono and Gecko into it.
set(KAVOLO_WINEPREFIX "${CMAKE_BINARY_DIR}/wine-prefix" CACHE PATH "Wine's prefix for the tests")
set(CMAKE_CROSSCOMPILING_EMULATOR
    env WINEPREFIX=${KAVOLO_WINEPREFIX} WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" wine)
