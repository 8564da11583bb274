# Cross build for Windows with MinGW-w64. NIMBO_MINGW_ARCH is i686 for the 32-bit DLL the host loads,
# x86_64 for the build whose tests run under 64-bit Wine. The runtime is linked statically, so nothing
# needs a DLL beyond the system's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${NIMBO_MINGW_ARCH})
set(triplet ${NIMBO_MINGW_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
if(NIMBO_MINGW_ARCH STREQUAL "i686")
  # The host finds the standard-call exports by their plain names.
  string(APPEND CMAKE_SHARED_LINKER_FLAGS_INIT " -Wl,--kill-at")
endif()
