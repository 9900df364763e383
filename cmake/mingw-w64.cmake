# Cross-compiles Tessaline for 64-bit Windows with Debian's mingw-w64 (posix threads, for std::thread and
# std::mutex). Tests run through wine: see cmake/WindowsTesting.cmake and docs/windows.md.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TESSALINE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TESSALINE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TESSALINE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TESSALINE_MINGW_TRIPLE}-windres)

# Libraries and headers come from the mingw sysroot only; programs (the emulator, generators) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TESSALINE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
