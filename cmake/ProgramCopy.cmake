# panel_program_copy(NAME): a second executable target NAME built from the
# sources and libraries of panelconfig, for a platform that needs the program
# in a second form (a console program, an app bundle). It follows whatever
# src/CMakeLists.txt gives panelconfig, so it needs no list of its own.
function(panel_program_copy name)
    get_target_property(sources panelconfig SOURCES)
    get_target_property(source_dir panelconfig SOURCE_DIR)
    get_target_property(libraries panelconfig LINK_LIBRARIES)
    set(copied "")
    foreach(source IN LISTS sources)
        if(NOT source MATCHES "^\\$<")
            cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
        endif()
        list(APPEND copied ${source})
    endforeach()
    add_executable(${name} ${copied})
    target_link_libraries(${name} PRIVATE ${libraries})
endfunction()
