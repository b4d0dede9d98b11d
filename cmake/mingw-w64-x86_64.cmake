# Cross build for 64-bit Windows with Debian's mingw-w64 (posix thread model, so that
# std::mutex exists and GoogleTest builds).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(PEL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PEL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PEL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PEL_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${PEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests of the cross build run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
