# Fernwick.exe alone, with MinGW-w64's win32 thread model: the program starts no C++ thread,
# so it needs no POSIX thread library beside the runtime. The mingw preset builds it
# through this file as a part of its own (see CMakeLists.txt); the tests keep the POSIX model
# GoogleTest needs. All else is as for the tests.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-posix.cmake)
set(CMAKE_C_COMPILER ${TOOLCHAIN_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TOOLCHAIN_PREFIX}-g++-win32)
