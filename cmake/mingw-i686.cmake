# 32-bit Windows: the program's build, tested under 32-bit Wine.
set(ALMANAC_MINGW_TARGET i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
