# The posix-threads mingw-w64 cross compilers for the processor in
# veldrix_mingw_arch (i686 or x86_64), set by the toolchain file that includes
# this one; the tests run through Wine with veldrix_wine_run_options.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${veldrix_mingw_arch})
set(CMAKE_C_COMPILER ${veldrix_mingw_arch}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${veldrix_mingw_arch}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${veldrix_mingw_arch}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${veldrix_mingw_arch}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Every program and DLL runs without the compiler's runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ${veldrix_wine_run_options})
