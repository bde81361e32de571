# Registers GoogleTest executables with ctest; every test runs under Wine.
get_filename_component(VELTRANO_SCRIPTS_DIR "${CMAKE_CURRENT_LIST_DIR}/../scripts" ABSOLUTE)

# Tests that need no display: one ctest test per GoogleTest case, run through scripts/wine.
function(veltrano_add_unit_tests TARGET)
  gtest_discover_tests(${TARGET}
    DISCOVERY_TIMEOUT 60
    ${ARGN})
endfunction()

# Tests that need windows or the clipboard: discovery and every case run through
# scripts/with-display, which gives each its own Xvfb, prefix copy and wineserver.
# gtest_discover_tests reads the target's emulator when it is called, so set it first.
function(veltrano_add_display_tests TARGET)
  set_property(TARGET ${TARGET} PROPERTY CROSSCOMPILING_EMULATOR
    "${VELTRANO_SCRIPTS_DIR}/with-display" "${VELTRANO_SCRIPTS_DIR}/wine")
  gtest_discover_tests(${TARGET}
    DISCOVERY_TIMEOUT 60
    ${ARGN})
endfunction()
