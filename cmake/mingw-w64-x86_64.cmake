# Cross build for 64-bit Windows with MinGW-w64 (posix threads, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VELTRANO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELTRANO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRANO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELTRANO_MINGW_TRIPLE}-windres)
# The message compiler of the event log's texts.
set(VELTRANO_WINDMC ${VELTRANO_MINGW_TRIPLE}-windmc)

# Search only the MinGW sysroot for headers and libraries; host programs stay usable.
set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest and gtest_discover_tests run the .exe files through Wine.
get_filename_component(_veltrano_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${_veltrano_root}/scripts/wine")
unset(_veltrano_root)
