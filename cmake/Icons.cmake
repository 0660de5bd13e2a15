# The icons in the sizes desktops and Windows ask for, drawn at build time
# from the SVGs in data/ with rsvg-convert (Debian's librsvg2-bin), so that
# no drawing is kept twice.

find_program(PANEL_RSVG_CONVERT rsvg-convert)
if(NOT PANEL_RSVG_CONVERT)
    message(FATAL_ERROR "rsvg-convert draws the icons: install librsvg2-bin (Debian), "
                        "or librsvg with its tools (MSYS2, Homebrew)")
endif()

# Draws SVG at each of the sizes into DIR/NxN/NAME.png; OUT gets the files.
function(panel_icon_pngs out svg dir name)
    set(files "")
    foreach(size IN LISTS ARGN)
        set(png ${dir}/${size}x${size}/${name}.png)
        add_custom_command(
            OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/${size}x${size}
            COMMAND ${PANEL_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
            DEPENDS ${svg}
            VERBATIM)
        list(APPEND files ${png})
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
