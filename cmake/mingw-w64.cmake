# Cross toolchain: 64-bit Windows executables from Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(GLIMMER_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GLIMMER_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GLIMMER_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GLIMMER_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${GLIMMER_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the .exe runs on a bare Windows or Wine without mingw DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and tools run through Wine; the script keeps a prefix inside the build tree.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec)
