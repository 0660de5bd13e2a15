# macOS: the program as an app bundle, whose Info.plist declares the .zqc
# document type so that Finder opens .zqc files in it.
# The commands run from the program inside the bundle:
#   panelconfig.app/Contents/MacOS/panelconfig write ...
configure_file(${PROJECT_SOURCE_DIR}/data/Info.plist.in ${CMAKE_BINARY_DIR}/Info.plist @ONLY)
set_target_properties(panelconfig PROPERTIES
    MACOSX_BUNDLE ON
    MACOSX_BUNDLE_INFO_PLIST ${CMAKE_BINARY_DIR}/Info.plist)
install(TARGETS panelconfig BUNDLE DESTINATION .)
