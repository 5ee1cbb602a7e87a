# 64-bit Windows: the same sources, tested where 32-bit code cannot run.
set(PINVEL_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
