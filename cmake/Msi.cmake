# The per-machine installer: wixl builds it from the release stage, then msibuild writes what wixl
# leaves out: the Japanese code page of its texts, the message that refuses a downgrade, and the
# event source's path as an expandable string.
find_program(VELTRANO_WIXL wixl REQUIRED)
find_program(VELTRANO_MSIBUILD msibuild REQUIRED)

# Builds OUTPUT with the product version VERSION from the files the release zip holds.
function(veltrano_msi OUTPUT VERSION)
  set(installer ${PROJECT_SOURCE_DIR}/resources/installer)
  set(downgrade "より新しいバージョンの Veltrano がインストールされています。古いバージョンに戻すには、先にアンインストールしてください。")
  add_custom_command(OUTPUT ${OUTPUT}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${OUTPUT}
    COMMAND ${VELTRANO_WIXL} -a x64 -D Version=${VERSION} -o ${OUTPUT} ${installer}/Veltrano.wxs
    COMMAND ${VELTRANO_MSIBUILD} ${OUTPUT} -i ${installer}/_ForceCodepage.idt
    COMMAND ${VELTRANO_MSIBUILD} ${OUTPUT}
            -q "UPDATE Registry SET Value = '#%[INSTALLDIR]Veltrano.exe' WHERE Name = 'EventMessageFile'"
            -q "UPDATE LaunchCondition SET Description = '${downgrade}' WHERE Condition = 'NOT WIX_DOWNGRADE_DETECTED'"
    WORKING_DIRECTORY ${VELTRANO_PACKAGE_STAGE}
    DEPENDS package_zip ${VELTRANO_PACKAGE} ${installer}/Veltrano.wxs ${installer}/_ForceCodepage.idt
    COMMENT "Building ${OUTPUT}"
    VERBATIM)
endfunction()
