# SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
# SPDX-License-Identifier: MIT
# Cross-compiling for 64-bit Windows with MinGW-w64 (Debian: g++-mingw-w64-x86-64).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
# The posix thread model: GCC before 13 offers std::thread and std::mutex
# only there.
find_program(_mingw_cc NAMES ${_mingw}-gcc-posix ${_mingw}-gcc)
find_program(_mingw_cxx NAMES ${_mingw}-g++-posix ${_mingw}-g++)
find_program(_mingw_rc NAMES ${_mingw}-windres windres)
set(CMAKE_C_COMPILER ${_mingw_cc})
set(CMAKE_CXX_COMPILER ${_mingw_cxx})
if(_mingw_rc)
  set(CMAKE_RC_COMPILER ${_mingw_rc})
endif()

# Libraries, headers and packages come from the MinGW tree (and from any
# prefix the caller adds, e.g. a GoogleTest built for Windows); programs
# from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_mingw} ${VELKORONDRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained binaries: the C++, GCC and thread runtimes linked in, so no
# MinGW DLLs have to travel with the library or the tests.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
