# A stand-in for Qt 6 built for MinGW, enough to compile the project's sources
# for Windows on Debian: the Debian Qt headers (as system headers, so that
# only the project's own code is held to its warnings), the definitions Qt's
# CMake gives a MinGW build, and the host's moc. There are no Windows Qt
# libraries here, so nothing is linked: a link only marks its output done.

set(qt_include /usr/include/x86_64-linux-gnu/qt6)
set(Qt6_VERSION ${PACKAGE_VERSION})
set(Qt6Core_VERSION_MAJOR 6)
string(REGEX MATCH "^6\\.([0-9]+)" _ "${PACKAGE_VERSION}")
set(Qt6Core_VERSION_MINOR ${CMAKE_MATCH_1})

if(NOT TARGET Qt6::moc)
    add_executable(Qt6::moc IMPORTED)
    set_target_properties(Qt6::moc PROPERTIES IMPORTED_LOCATION /usr/lib/qt6/libexec/moc)
    add_executable(Qt6::rcc IMPORTED)
    set_target_properties(Qt6::rcc PROPERTIES IMPORTED_LOCATION /usr/lib/qt6/libexec/rcc)

    # What every target that uses Qt gets on Windows with MinGW.
    add_library(Qt6::Platform INTERFACE IMPORTED)
    set_target_properties(Qt6::Platform PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${qt_include}
        INTERFACE_COMPILE_DEFINITIONS
            "UNICODE;_UNICODE;WIN32;_ENABLE_EXTENDED_ALIGNED_STORAGE;WIN64;_WIN64;MINGW_HAS_SECURE_API=1;$<$<NOT:$<CONFIG:Debug>>:QT_NO_DEBUG>"
        INTERFACE_COMPILE_FEATURES cxx_std_17)
endif()

# module name, its define, the modules it needs
set(qt_modules
    "Core|QT_CORE_LIB|Platform"
    "Gui|QT_GUI_LIB|Core"
    "Widgets|QT_WIDGETS_LIB|Gui"
    "SerialPort|QT_SERIALPORT_LIB|Core"
    "PrintSupport|QT_PRINTSUPPORT_LIB|Widgets"
    "Test|QT_TESTLIB_LIB|Core")
foreach(entry IN LISTS qt_modules)
    string(REPLACE "|" ";" entry "${entry}")
    list(GET entry 0 module)
    list(GET entry 1 define)
    list(GET entry 2 needs)
    if(TARGET Qt6::${module})
        continue()
    endif()
    add_library(Qt6::${module} INTERFACE IMPORTED)
    set_target_properties(Qt6::${module} PROPERTIES
        INTERFACE_INCLUDE_DIRECTORIES ${qt_include}/Qt${module}
        INTERFACE_COMPILE_DEFINITIONS "${define}"
        INTERFACE_LINK_LIBRARIES Qt6::${needs}
        INTERFACE_QT_MAJOR_VERSION 6)
endforeach()

foreach(component IN LISTS Qt6_FIND_COMPONENTS)
    if(TARGET Qt6::${component})
        set(Qt6_${component}_FOUND TRUE)
    else()
        set(Qt6_${component}_FOUND FALSE)
    endif()
endforeach()

# Resources are data, with no code of the project's in them.
function(qt_add_resources)
endfunction()

foreach(lang C CXX)
    set(CMAKE_${lang}_LINK_EXECUTABLE "<CMAKE_COMMAND> -E touch <TARGET>")
    set(CMAKE_${lang}_CREATE_SHARED_LIBRARY "<CMAKE_COMMAND> -E touch <TARGET> <TARGET_IMPLIB>")
    set(CMAKE_${lang}_CREATE_SHARED_MODULE "<CMAKE_COMMAND> -E touch <TARGET>")
endforeach()
