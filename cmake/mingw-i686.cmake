# Cross-compiles for 32-bit Windows with MinGW-w64. The tests use the
# posix-thread compilers (GoogleTest needs std::mutex, which the win32-thread
# ones lack); the shipped Tallykeep.exe uses the win32-thread ones, through
# mingw-i686-product.cmake, which sets TK_MINGW_THREADS before including this.
if(NOT TK_MINGW_THREADS)
  set(TK_MINGW_THREADS posix)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-${TK_MINGW_THREADS})
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-${TK_MINGW_THREADS})
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
