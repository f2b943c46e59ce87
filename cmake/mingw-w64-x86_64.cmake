# Toolchain file: cross-compile for 64-bit Windows with Debian's mingw-w64.
# Usage: cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)

# Debian ships two thread models: <triple>-g++-win32 (default alternative) and
# <triple>-g++-posix.  Only -posix gives std::thread/std::mutex/std::condition_variable
# with GCC 12, so pick it explicitly instead of relying on update-alternatives.
set(MINGW_THREADS posix CACHE STRING "mingw-w64 thread model: posix or win32")

set(CMAKE_C_COMPILER   ${MINGW_TRIPLE}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER  ${MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static: no libgcc_s_seh-1.dll / libstdc++-6.dll / libwinpthread-1.dll at run time.
# (-static-libgcc -static-libstdc++ alone still leaves libwinpthread-1.dll with the posix model.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Run test executables with Wine (64-bit loader).  The wrapper sets WINEDEBUG etc.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-emu.sh)
