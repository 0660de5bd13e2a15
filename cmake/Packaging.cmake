# The Debian package, built by `cpack -G DEB` in the build directory;
# scripts/package.sh builds it with Debian's hardening flags and checks it.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PANEL_PROGRAM})
set(CPACK_PACKAGE_VENDOR "TARNEK")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration tool for the KVQ ten-button dimmable switch panel")
set(CPACK_PACKAGE_DESCRIPTION "\
A desktop tool for the lighting technician who configures the ten-button
dimmable wall switch panel, models 00-00561 and 00-00567: the bus module
and channel of every switch and indicator LED, the backlighting and the
dimming input, the panel name and designations, and three intensities.
It reads and writes a panel over a serial port and opens and saves .zqc
configuration files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TARNEK panel tool developers <panelconfig@tarnek.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PANEL_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries the program links come from dpkg-shlibdeps; the SVG plugins that
# draw the desktop's icon theme in the dialogs are loaded at run time, so
# they are named here. The
# window's boxes and the sheet's table are sized for Arial: Liberation Sans
# has its metrics, and with DejaVu Sans the sheet's headings are cut short.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2")
# The symbols go into panelconfig-dbgsym, found by the program's build id;
# CPack strips the program itself once it has taken them out.
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# No maintainer scripts: Debian's shared-mime-info, desktop-file-utils,
# hicolor-icon-theme and man-db refresh their caches through dpkg triggers.

# Every package says under what terms it comes and what changed.
set(doc ${CMAKE_INSTALL_DATADIR}/doc/${PANEL_PROGRAM})
set(changelog ${CMAKE_BINARY_DIR}/debian/changelog)
news_debian_changelog(${changelog} "${CPACK_DEBIAN_PACKAGE_MAINTAINER}")
add_custom_command(
    OUTPUT ${changelog}.gz
    COMMAND gzip -9nc ${changelog} > ${changelog}.gz
    DEPENDS ${changelog}
    COMMENT "Compressing the Debian changelog")
add_custom_target(debian-changelog ALL DEPENDS ${changelog}.gz)
install(FILES ${PROJECT_SOURCE_DIR}/data/copyright ${changelog}.gz DESTINATION ${doc})

include(CPack)
