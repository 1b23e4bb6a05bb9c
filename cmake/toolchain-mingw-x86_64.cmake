# Cross-compiles for 64-bit Windows (the Wine route of hosts that run no 32-bit code) with the posix-threads mingw-w64 compilers.
set(veldrix_mingw_arch x86_64)
set(veldrix_wine_run_options --arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
