# Cross build for 64-bit Windows with Debian's mingw-w64 compilers (the posix thread model,
# which std::thread and std::mutex need). Programs built with it run under wine64 for the tests.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZINTARA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZINTARA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZINTARA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZINTARA_MINGW_TRIPLE}-windres)

# Headers and libraries come from the target's tree and from the prefixes given on the command
# line (CMAKE_PREFIX_PATH, searched inside the root "/"); programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZINTARA_MINGW_TRIPLE} /)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(ZINTARA_WINE NAMES wine64 PATHS /usr/lib/wine)
if(ZINTARA_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZINTARA_WINE})
endif()
