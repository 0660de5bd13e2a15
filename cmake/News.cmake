# The release notes live in NEWS, newest release first:
#
#   panelconfig VERSION (YYYY-MM-DD)
#
#     * one change, wrapped at 76 columns with the next lines
#       indented by four spaces
#
# Both the software centre's release list and the Debian changelog are made
# from it, so the two cannot disagree. news_read() sets
#   PANEL_RELEASES               the versions, newest first
#   PANEL_RELEASE_<V>_DATE       the date of version V
#   PANEL_RELEASE_<V>_ITEMS      its changes, one list element each, joined
#   PANEL_RELEASE_DATE           the date of the newest release
# and stops the configuration when the newest release is not the project's
# version.

function(news_read file)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
    file(STRINGS ${file} lines ENCODING UTF-8)
    set(releases "")
    set(version "")
    foreach(line IN LISTS lines)
        # A ';' would split CMake's lists: it stands as a marker until written out.
        string(REPLACE ";" "@SEMICOLON@" line "${line}")
        if(line MATCHES "^${PANEL_PROGRAM} ([0-9][0-9.]*) \\(([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])\\)$")
            set(version ${CMAKE_MATCH_1})
            list(APPEND releases ${version})
            set(date_${version} ${CMAKE_MATCH_2})
            set(PANEL_RELEASE_${version}_DATE ${CMAKE_MATCH_2} PARENT_SCOPE)
            set(items_${version} "")
        elseif(line MATCHES "^  \\* (.+)$" AND version)
            list(APPEND items_${version} "${CMAKE_MATCH_1}")
        elseif(line MATCHES "^    ([^ ].*)$" AND items_${version})
            list(POP_BACK items_${version} last)
            list(APPEND items_${version} "${last} ${CMAKE_MATCH_1}")
        elseif(NOT line STREQUAL "")
            message(FATAL_ERROR "${file}: cannot read the line \"${line}\"")
        endif()
        if(version)
            set(PANEL_RELEASE_${version}_ITEMS "${items_${version}}" PARENT_SCOPE)
        endif()
    endforeach()
    list(GET releases 0 newest)
    if(NOT newest VERSION_EQUAL PROJECT_VERSION)
        message(FATAL_ERROR "${file} begins with release ${newest}, the project is ${PROJECT_VERSION}")
    endif()
    foreach(v IN LISTS releases)
        if(NOT items_${v})
            message(FATAL_ERROR "${file}: release ${v} lists no change")
        endif()
    endforeach()
    set(PANEL_RELEASES ${releases} PARENT_SCOPE)
    set(PANEL_RELEASE_DATE ${date_${newest}} PARENT_SCOPE)
endfunction()

function(news_xml_escape out text)
    string(REPLACE "&" "&amp;" text "${text}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The <release> elements of the AppStream metainfo.
function(news_metainfo_releases out)
    set(xml "")
    foreach(v IN LISTS PANEL_RELEASES)
        string(APPEND xml "    <release version=\"${v}\" date=\"${PANEL_RELEASE_${v}_DATE}\">\n"
                          "      <description>\n        <ul>\n")
        foreach(item IN LISTS PANEL_RELEASE_${v}_ITEMS)
            news_xml_escape(item "${item}")
            string(APPEND xml "          <li>${item}</li>\n")
        endforeach()
        string(APPEND xml "        </ul>\n      </description>\n    </release>\n")
    endforeach()
    string(REGEX REPLACE "\n$" "" xml "${xml}")
    string(REPLACE "@SEMICOLON@" ";" xml "${xml}")
    set(${out} "${xml}" PARENT_SCOPE)
endfunction()

# "Tue, 08 Dec 2026 00:00:00 +0000" for YYYY-MM-DD (Zeller's congruence).
function(news_rfc2822 out date)
    string(REGEX MATCH "^([0-9]+)-0?([0-9]+)-0?([0-9]+)$" _ "${date}")
    set(y ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_1})
    set(m ${CMAKE_MATCH_2})
    set(d ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    math(EXPR mi "${m} - 1")
    list(GET months ${mi} month)
    if(m LESS 3)
        math(EXPR m "${m} + 12")
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR h "(${d} + (13 * (${m} + 1)) / 5 + ${y} + ${y} / 4 - ${y} / 100 + ${y} / 400) % 7")
    set(days Sat Sun Mon Tue Wed Thu Fri)
    list(GET days ${h} weekday)
    string(REGEX MATCH "[0-9]+$" day2 "${date}")
    set(${out} "${weekday}, ${day2} ${month} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# The Debian changelog of the native package, entries in the order of NEWS.
function(news_debian_changelog file maintainer)
    set(text "")
    foreach(v IN LISTS PANEL_RELEASES)
        news_rfc2822(when ${PANEL_RELEASE_${v}_DATE})
        string(APPEND text "${PANEL_PROGRAM} (${v}) stable; urgency=medium\n\n")
        foreach(item IN LISTS PANEL_RELEASE_${v}_ITEMS)
            # Wrapped again at 80 columns, as dpkg-parsechangelog expects.
            set(line "  *")
            string(REPLACE " " ";" words "${item}")
            foreach(word IN LISTS words)
                string(LENGTH "${line} ${word}" length)
                if(length GREATER 80)
                    string(APPEND text "${line}\n")
                    set(line "    ${word}")
                else()
                    set(line "${line} ${word}")
                endif()
            endforeach()
            string(APPEND text "${line}\n")
        endforeach()
        string(APPEND text "\n -- ${maintainer}  ${when}\n\n")
    endforeach()
    string(REGEX REPLACE "\n\n$" "\n" text "${text}")
    string(REPLACE "@SEMICOLON@" ";" text "${text}")
    file(WRITE ${file} "${text}")
endfunction()
