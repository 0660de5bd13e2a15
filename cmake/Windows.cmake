# Windows: the program and its installers.
#
# The window starts without a console window. panelconfig.com, the same
# program built for the console, is what a command prompt runs for
# "panelconfig ..." (PATHEXT puts .com before .exe), so the commands print to
# the console that started them, which waits for them and passes Ctrl+C on.
set_target_properties(panelconfig PROPERTIES WIN32_EXECUTABLE ON)

# The icons, as a resource of the program: drawn from the SVGs and packed
# into .ico files at build time. icotool (icoutils) packs the PNGs that
# rsvg-convert drew as they are, the 256-pixel one as PNG, the others as
# bitmaps for the oldest shell views; it is a small program with no
# dependencies, and its output holds no time or path.
include(${PROJECT_SOURCE_DIR}/cmake/Icons.cmake)
find_program(PANEL_ICOTOOL icotool)
if(NOT PANEL_ICOTOOL)
    message(FATAL_ERROR "icotool packs the Windows icons: install icoutils (Debian, MSYS2, Cygwin)")
endif()
set(ico_dir ${CMAKE_BINARY_DIR}/ico)
foreach(icon app:${PANEL_APP_ID} zqc:application-x-tarnek-zqc)
    string(REPLACE ":" ";" icon "${icon}")
    list(GET icon 0 key)
    list(GET icon 1 name)
    panel_icon_pngs(pngs ${PROJECT_SOURCE_DIR}/data/${name}.svg ${ico_dir} ${name} 16 24 32 48 64
                    256)
    list(POP_BACK pngs large)
    string(TOUPPER ${key} key)
    set(PANEL_${key}_ICO ${ico_dir}/${name}.ico)
    add_custom_command(
        OUTPUT ${PANEL_${key}_ICO}
        COMMAND ${PANEL_ICOTOOL} -c -o ${PANEL_${key}_ICO} ${pngs} -r ${large}
        DEPENDS ${pngs} ${large}
        VERBATIM)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/data/panelconfig.rc.in ${CMAKE_BINARY_DIR}/panelconfig.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/panelconfig.rc
                            PROPERTIES OBJECT_DEPENDS "${PANEL_APP_ICO};${PANEL_ZQC_ICO}")
target_sources(panelconfig PRIVATE ${CMAKE_BINARY_DIR}/panelconfig.rc)

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
# The installer and uninstaller carry the program's icon.
set(CPACK_NSIS_MUI_ICON ${PANEL_APP_ICO})
set(CPACK_NSIS_MUI_UNIICON ${PANEL_APP_ICO})
# A page offers to put the program's folder on PATH (for this user or all),
# so that "panelconfig write ..." runs from any command prompt; the
# uninstaller takes it off again.
set(CPACK_NSIS_MODIFY_PATH ON)
# The Start-menu entry.
set(CPACK_PACKAGE_EXECUTABLES ${PANEL_PROGRAM} "KVQ Switch Panel Configuration")
# .zqc files open in the tool on a double-click, and lose the tie when it
# is uninstalled.
set(zqc_class "TARNEK.PanelConfig.zqc")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
    WriteRegStr HKCR '.zqc' '' '${zqc_class}'
    WriteRegStr HKCR '${zqc_class}' '' 'KVQ switch panel configuration'
    WriteRegStr HKCR '${zqc_class}\\\\DefaultIcon' '' '$INSTDIR\\\\bin\\\\${PANEL_PROGRAM}.exe,1'
    WriteRegStr HKCR '${zqc_class}\\\\shell\\\\open\\\\command' '' '\\\"$INSTDIR\\\\bin\\\\${PANEL_PROGRAM}.exe\\\" \\\"%1\\\"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
    DeleteRegKey HKCR '${zqc_class}'
    ReadRegStr \\\$0 HKCR '.zqc' ''
    StrCmp \\\$0 '${zqc_class}' 0 +2
    DeleteRegKey HKCR '.zqc'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'")
include(CPack)
