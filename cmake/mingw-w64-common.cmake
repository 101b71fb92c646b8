# What both Windows toolchain files share: the posix-thread compilers (the
# C++ standard library's threads need them), windres, and the mingw sysroot.
set(CMAKE_C_COMPILER ${HPGL2_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HPGL2_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${HPGL2_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${HPGL2_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
