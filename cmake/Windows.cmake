# Windows: the program and its installers.
#
# The window starts without a console window. panelconfig.com, the same
# program built for the console, is what a command prompt runs for
# "panelconfig ..." (PATHEXT puts .com before .exe), so the commands print to
# the console that started them, which waits for them and passes Ctrl+C on.
set_target_properties(panelconfig PROPERTIES WIN32_EXECUTABLE ON)
include(${CMAKE_CURRENT_LIST_DIR}/ProgramCopy.cmake)
panel_program_copy(panelconfig-console)
get_target_property(binary_dir panelconfig BINARY_DIR)
set_target_properties(panelconfig-console PROPERTIES OUTPUT_NAME ${PANEL_PROGRAM} SUFFIX .com
                                                     RUNTIME_OUTPUT_DIRECTORY ${binary_dir})
install(TARGETS panelconfig-console RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Qt's DLLs and plugins beside the program, from the Qt that built it:
# the platform plugin, the SVG icon engine and image format that draw the
# window icon, print support, and the compiler's run-time.
if(TARGET Qt6::windeployqt)
    get_target_property(windeployqt Qt6::windeployqt IMPORTED_LOCATION)
    install(CODE "
        execute_process(COMMAND \"${windeployqt}\" --release --no-translations --svg
                                --printsupport \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${PANEL_PROGRAM}.exe\"
                        RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR \"windeployqt failed\")
        endif()")
else()
    message(STATUS "No windeployqt: the install will not hold Qt's DLLs")
endif()

# The installer (NSIS) and a ZIP to unpack anywhere: cpack in the build
# directory makes both.
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME ${PANEL_PROGRAM})
set(CPACK_PACKAGE_VENDOR "TARNEK")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration tool for the KVQ ten-button dimmable switch panel")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "TARNEK Panel Configuration")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/data/copyright)
set(CPACK_NSIS_DISPLAY_NAME "KVQ Switch Panel Configuration")
set(CPACK_NSIS_PACKAGE_NAME "KVQ Switch Panel Configuration")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\${PANEL_PROGRAM}.exe")
set(CPACK_NSIS_URL_INFO_ABOUT ${PANEL_HOMEPAGE_URL})
set(CPACK_NSIS_HELP_LINK ${PANEL_HELP_URL})
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The Start-menu entry.
set(CPACK_PACKAGE_EXECUTABLES ${PANEL_PROGRAM} "KVQ Switch Panel Configuration")
# .zqc files open in the tool on a double-click, and lose the tie when it
# is uninstalled.
set(zqc_class "TARNEK.PanelConfig.zqc")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr HKCR '.zqc' '' '${zqc_class}'
    WriteRegStr HKCR '${zqc_class}' '' 'KVQ switch panel configuration'
    WriteRegStr HKCR '${zqc_class}\\\\DefaultIcon' '' '$INSTDIR\\\\bin\\\\${PANEL_PROGRAM}.exe,0'
    WriteRegStr HKCR '${zqc_class}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\bin\\\\${PANEL_PROGRAM}.exe\\\" \\\"%1\\\"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    DeleteRegKey HKCR '${zqc_class}'
    ReadRegStr \\\$0 HKCR '.zqc' ''
    StrCmp \\\$0 '${zqc_class}' 0 +2
    DeleteRegKey HKCR '.zqc'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
include(CPack)
