# The 32-bit tests: the release's toolchain with the posix thread model
# (GoogleTest needs std::mutex), built into build/win32-test beside the
# release.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(KS_RELEASE OFF)
set(KS_OUT_NAME win32-test)
