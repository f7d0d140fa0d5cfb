# Cross build for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DOSTREVIK_TESTS=OFF
# The program is linked statically, so ostrevik.exe runs without any MinGW DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(OSTREVIK_MINGW_PREFIX x86_64-w64-mingw32)
# Debian ships a win32 and a posix thread flavour; the posix one has the complete thread support
# of the C++ library.
find_program(OSTREVIK_MINGW_CXX NAMES ${OSTREVIK_MINGW_PREFIX}-g++-posix ${OSTREVIK_MINGW_PREFIX}-g++
             REQUIRED)
set(CMAKE_CXX_COMPILER ${OSTREVIK_MINGW_CXX})
find_program(CMAKE_RC_COMPILER NAMES ${OSTREVIK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${OSTREVIK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Programs built here run under Wine when the build needs to run one.
find_program(OSTREVIK_WINE NAMES wine64 wine)
if(OSTREVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${OSTREVIK_WINE})
endif()
