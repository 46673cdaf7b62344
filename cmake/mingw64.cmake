# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(ZK_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   ${ZK_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZK_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${ZK_TRIPLE}-windres)
# The archiver wrappers index the intermediate code of link-time optimised objects too.
set(CMAKE_AR           /usr/bin/${ZK_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${ZK_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries come from the MinGW sysroot and from the dependency cache.
set(CMAKE_FIND_ROOT_PATH /usr/${ZK_TRIPLE})
if(DEFINED ENV{ZK_DEPS_PREFIX})
  list(APPEND CMAKE_FIND_ROOT_PATH $ENV{ZK_DEPS_PREFIX})
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# No MinGW runtime DLLs beside the programs.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
