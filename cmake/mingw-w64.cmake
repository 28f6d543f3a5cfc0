# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread
# model, for std::thread and std::mutex; Qt for Windows was built with it too).
# The programs link MinGW's runtime as DLLs, the same ones Qt's DLLs use, and
# keep them beside them (cmake/WindowsRuntime.cmake).
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#     -DCMAKE_PREFIX_PATH=<Qt for Windows> -DQT_HOST_PATH=/usr \
#     -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# Libraries and packages come from MinGW's tree and from Qt for Windows (given
# as CMAKE_PREFIX_PATH), never from Linux; programs (moc, uic) from Linux.
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest starts the test programs through Wine.
find_program(VARMO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VARMO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${VARMO_WINE})
endif()
