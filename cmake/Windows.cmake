# Windows: the program and its installers.
#
# The window starts without a console window. panelconfig.com, the same
# program built for the console, is what a command prompt runs for
# "panelconfig ..." (PATHEXT puts .com before .exe), so the commands print to
# the console that started them, which waits for them and passes Ctrl+C on.
set_target_properties(panelconfig PROPERTIES WIN32_EXECUTABLE ON)
get_target_property(sources panelconfig SOURCES)
get_target_property(source_dir panelconfig SOURCE_DIR)
get_target_property(libraries panelconfig LINK_LIBRARIES)
set(console_sources "")
foreach(source IN LISTS sources)
    if(NOT source MATCHES "^\\$<")
        cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
    endif()
    list(APPEND console_sources ${source})
endforeach()
add_executable(panelconfig-console ${console_sources})
target_link_libraries(panelconfig-console PRIVATE ${libraries})
get_target_property(binary_dir panelconfig BINARY_DIR)
set_target_properties(panelconfig-console PROPERTIES OUTPUT_NAME ${PANEL_PROGRAM} SUFFIX .com
                                                     RUNTIME_OUTPUT_DIRECTORY ${binary_dir})
install(TARGETS panelconfig-console RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
