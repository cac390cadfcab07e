# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers, the
# programs and tests then run under Wine (scripts/windows.sh does all this).
# The POSIX-thread variant of the compilers is the one GoogleTest builds with.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZARVO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZARVO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZARVO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZARVO_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZARVO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Packages come from the MinGW root or from a prefix named on the command
# line (the GoogleTest built with these compilers), never from the host.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained programs: the MinGW runtime is linked in, so there are no
# DLLs to carry along, on a user's machine or under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package puts its loader outside PATH.
find_program(ZARVO_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(ZARVO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZARVO_WINE})
endif()
# Wine shows the Linux file system as drive Z:, so the source and program
# paths that the tests have built in need that drive in front.
set(ZARVO_PADVOORVOEGSEL "Z:")
