# GoogleTest and gMock, built from Debian's sources with the cross compiler.
set(VELTRANO_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# Win32 threads inside gtest; the project itself still uses std::thread.
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)

add_subdirectory(${VELTRANO_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_deps/googletest EXCLUDE_FROM_ALL SYSTEM)

foreach(_veltrano_gtest_target IN ITEMS gtest gtest_main gmock gmock_main)
  # Third-party code: our -Werror must not break the build on its warnings.
  target_compile_options(${_veltrano_gtest_target} PRIVATE -Wno-error -w)
endforeach()

# -municode makes the CRT call wmain, so gtest_main also gets a wmain; the linker
# takes whichever entry point the executable asks for.
target_sources(gtest_main PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gtest_wmain.cc)
target_sources(gmock_main PRIVATE ${CMAKE_CURRENT_LIST_DIR}/gmock_wmain.cc)

if(NOT TARGET GTest::gtest)
  add_library(GTest::gtest ALIAS gtest)
  add_library(GTest::gtest_main ALIAS gtest_main)
  add_library(GTest::gmock ALIAS gmock)
  add_library(GTest::gmock_main ALIAS gmock_main)
endif()

include(GoogleTest)
