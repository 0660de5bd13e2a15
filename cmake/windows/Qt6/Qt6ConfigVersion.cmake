# The version of the Debian Qt whose headers the stand-in uses.
file(STRINGS /usr/include/x86_64-linux-gnu/qt6/QtCore/qconfig.h version
     REGEX "#define QT_VERSION_STR")
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" PACKAGE_VERSION "${version}")
if(PACKAGE_VERSION VERSION_LESS PACKAGE_FIND_VERSION)
    set(PACKAGE_VERSION_COMPATIBLE FALSE)
else()
    set(PACKAGE_VERSION_COMPATIBLE TRUE)
endif()
