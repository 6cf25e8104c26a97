# 64-bit Windows: the same tree, for the Windows tests on machines whose
# kernel runs no 32-bit programs (64-bit Wine; see tools/wine-arch.sh).
set(ALMANAC_MINGW_TARGET x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
