# macOS: beside the program for the terminal (bin/panelconfig), the same
# program as panelconfig.app, whose Info.plist declares the .zqc document
# type so that Finder opens .zqc files in it.
include(${CMAKE_CURRENT_LIST_DIR}/ProgramCopy.cmake)
panel_program_copy(panelconfig-app)
configure_file(${PROJECT_SOURCE_DIR}/data/Info.plist.in ${CMAKE_BINARY_DIR}/Info.plist @ONLY)
set_target_properties(panelconfig-app PROPERTIES
    OUTPUT_NAME ${PANEL_PROGRAM}
    MACOSX_BUNDLE ON
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_BINARY_DIR}/Info.plist)
install(TARGETS panelconfig-app BUNDLE DESTINATION .)
