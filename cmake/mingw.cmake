# Windows with Debian's MinGW-w64 cross compiler, for the target that the
# including toolchain file names in ALMANAC_MINGW_TARGET (i686 or x86_64).
# The -posix variant carries std::thread and std::mutex, which the win32
# thread model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ALMANAC_MINGW_TARGET})

set(CMAKE_C_COMPILER ${ALMANAC_MINGW_TARGET}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${ALMANAC_MINGW_TARGET}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${ALMANAC_MINGW_TARGET}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ALMANAC_MINGW_TARGET}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test executables run under Wine (see tools/wine-test.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-test.sh)
