# The posix-thread variants of Debian's MinGW-w64 compilers, linked statically so
# that no runtime DLL has to stand beside the executable.
set(CMAKE_C_COMPILER ${BOOTMARK_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BOOTMARK_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${BOOTMARK_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BOOTMARK_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
