# Cross-builds the core, d7o-tool and the core's tests for 64-bit Windows with Debian's
# MinGW-w64 compiler (g++-mingw-w64-x86-64-posix: the posix thread model, which std::thread
# and std::mutex need). Everything is linked statically, so the programs run on a bare
# Windows or under wine with no MinGW DLLs beside them.
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(D7O_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${D7O_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${D7O_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${D7O_MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW tree only; programs (the build's tools) from
# the host.
set(CMAKE_FIND_ROOT_PATH /usr/${D7O_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine where it is installed (ctest, gtest discovery).
find_program(D7O_WINE_LOADER NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(D7O_WINE_LOADER)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${D7O_WINE_LOADER})
endif()
