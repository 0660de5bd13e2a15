# The Debian package, built by `cpack -G DEB` in the build directory.

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
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TARNEK panel tool developers <panelconfig@tarnek.invalid>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Libraries the program links come from dpkg-shlibdeps; the SVG plugins that
# draw the window icon are loaded at run time, so they are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
# The window's boxes are sized for Arial; Liberation Sans has its metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
# No maintainer scripts: Debian's shared-mime-info, desktop-file-utils,
# hicolor-icon-theme and man-db refresh their caches through dpkg triggers.

include(CPack)
