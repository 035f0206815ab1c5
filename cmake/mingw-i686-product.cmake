# The shipped Tallykeep.exe: the win32-thread MinGW-w64 compilers. The
# posix-thread runtime (winpthreads) would import GetTickCount64, which
# Windows XP lacks, and TryEnterCriticalSection and SetProcessAffinityMask,
# which Windows 95, 98 and Me lack.
set(TK_MINGW_THREADS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
