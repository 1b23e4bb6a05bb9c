# Cross-compiles for 32-bit Windows with the posix-threads mingw-w64 compilers.
set(veldrix_mingw_arch i686)
set(veldrix_wine_run_options)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
