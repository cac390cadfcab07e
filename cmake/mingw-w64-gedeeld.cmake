# The same cross compilers as mingw-w64.cmake, but the programs use the
# shared C++ runtime (libstdc++-6.dll, libgcc_s_seh-1.dll,
# libwinpthread-1.dll). Qt's DLLs are built with these compilers and link
# that runtime; a program linked -static beside them would carry a second
# copy of it in the same process, with its own heap for exceptions and
# strings that cross from one to the other. So Qt and the desktop program
# are built with this file, and the runtime DLLs are deployed with them.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
set(CMAKE_EXE_LINKER_FLAGS_INIT "")
