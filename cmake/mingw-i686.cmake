# Cross-compiles for 32-bit Windows with mingw-w64's posix thread model
# (GoogleTest needs std::mutex, which the win32 model's libstdc++ lacks).
# HUEBRICK_ARCH=x86_64 builds the same sources as a 64-bit program, for testing on a machine
# that cannot run 32-bit code (scripts/wine-env.sh).
set(HUEBRICK_ARCH i686 CACHE STRING "i686, or x86_64 for a 64-bit test build")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${HUEBRICK_ARCH})

set(CMAKE_C_COMPILER   ${HUEBRICK_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${HUEBRICK_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${HUEBRICK_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HUEBRICK_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the test programs through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /bin/sh ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
