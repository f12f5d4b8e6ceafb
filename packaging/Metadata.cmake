# What a Linux desktop expects beside the program: the manual page, the
# AppStream metadata, the changelog and a machine-readable copyright file.
#
# NEWS is the one history: each of its entries becomes an entry of the Debian
# changelog, and its newest one gives the release date of the manual page
# and the metadata.  Its version must be the project's, so that a release
# cannot go out with the history of another.

set(KAVRIN_NEWS ${PROJECT_SOURCE_DIR}/NEWS)
set(KAVRIN_METADATA_DIR ${PROJECT_BINARY_DIR}/packaging)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KAVRIN_NEWS})

# "Mon, 07 Dec 2026 00:00:00 +0000" for 2026-12-07, as the Debian changelog
# writes dates.
function(kavrin_changelog_date out year month day)
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  list(GET weekdays ${weekday} weekday_name)
  list(GET months ${index} month_name)
  set(${out} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# Reads NEWS: the Debian changelog, the <release> lines of the metadata and
# the newest entry's version and date.  An entry is a line
# "kavrin X.Y.Z (YYYY-MM-DD)" and the lines after it, each indented by two
# spaces or empty.
function(kavrin_read_news)
  file(READ ${KAVRIN_NEWS} rest)
  set(header_pattern "(^|\n)kavrin [^\n]*\n")
  set(d "[0-9]")
  set(entry_pattern "^kavrin (${d}+\\.${d}+\\.${d}+) \\((${d}${d}${d}${d})-(${d}${d})-(${d}${d})\\)$")
  set(changelog "")
  set(releases "")
  string(REGEX MATCH "${header_pattern}" header "${rest}")
  while(header)
    string(FIND "${rest}" "${header}" at)
    string(LENGTH "${header}" length)
    math(EXPR after "${at} + ${length}")
    string(SUBSTRING "${rest}" ${after} -1 rest)
    string(REGEX MATCH "${header_pattern}" next "${rest}")
    set(end -1)
    if(next)
      string(FIND "${rest}" "${next}" end)
    endif()
    string(SUBSTRING "${rest}" 0 ${end} body)
    string(STRIP "${header}" header)
    if(NOT header MATCHES "${entry_pattern}")
      message(FATAL_ERROR "NEWS: \"${header}\" is not \"kavrin X.Y.Z (YYYY-MM-DD)\"")
    endif()
    set(version ${CMAKE_MATCH_1})
    set(date "${CMAKE_MATCH_2}-${CMAKE_MATCH_3}-${CMAKE_MATCH_4}")
    kavrin_changelog_date(stamp ${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4})
    string(REGEX REPLACE "^\n+" "" body "${body}")
    string(REGEX REPLACE "\n+$" "" body "${body}")
    if("\n${body}" MATCHES "\n[^ \n]" OR body STREQUAL "")
      message(FATAL_ERROR "NEWS: the entry of ${version} is empty or has a line not indented by two spaces")
    endif()
    if(NOT DEFINED newest_version)
      set(newest_version ${version})
      set(newest_date ${date})
    else()
      string(APPEND changelog "\n")
    endif()
    string(APPEND changelog "kavrin (${version}) unstable; urgency=medium\n\n${body}\n\n"
           " -- ${CPACK_PACKAGE_CONTACT}  ${stamp}\n")
    string(APPEND releases "    <release version=\"${version}\" date=\"${date}\"/>\n")
    set(header "${next}")
  endwhile()
  if(NOT newest_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "NEWS: the newest entry is for version \"${newest_version}\", "
                        "but CMakeLists.txt says ${PROJECT_VERSION}; add an entry for it")
  endif()
  string(REGEX REPLACE "\n$" "" releases "${releases}")
  set(KAVRIN_DEBIAN_CHANGELOG "${changelog}" PARENT_SCOPE)
  set(KAVRIN_METAINFO_RELEASES "${releases}" PARENT_SCOPE)
  set(KAVRIN_RELEASE_DATE ${newest_date} PARENT_SCOPE)
endfunction()

kavrin_read_news()
set(KAVRIN_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR})
set(KAVRIN_METAINFO_ID org.example.kavrin)
configure_file(${PROJECT_SOURCE_DIR}/packaging/kavrin.1.in ${KAVRIN_METADATA_DIR}/kavrin.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${KAVRIN_METAINFO_ID}.metainfo.xml.in
               ${KAVRIN_METADATA_DIR}/${KAVRIN_METAINFO_ID}.metainfo.xml @ONLY)
# Written through a copy so that an unchanged changelog keeps its time stamp.
file(WRITE ${KAVRIN_METADATA_DIR}/changelog.new "${KAVRIN_DEBIAN_CHANGELOG}")
configure_file(${KAVRIN_METADATA_DIR}/changelog.new ${KAVRIN_METADATA_DIR}/changelog COPYONLY)

if(UNIX AND NOT APPLE)
  install(FILES ${KAVRIN_METADATA_DIR}/${KAVRIN_METAINFO_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # The license in the machine-readable form Debian reads.
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  # Debian wants both compressed at the highest level and without a time
  # stamp or file name inside (-n), so that builds come out alike.
  find_program(KAVRIN_GZIP gzip REQUIRED)
  set(compressed ${KAVRIN_METADATA_DIR}/kavrin.1.gz ${KAVRIN_METADATA_DIR}/changelog.gz)
  foreach(file IN LISTS compressed)
    string(REGEX REPLACE "\\.gz$" "" plain ${file})
    add_custom_command(OUTPUT ${file}
      COMMAND ${KAVRIN_GZIP} -9nkf ${plain}
      DEPENDS ${plain}
      VERBATIM)
  endforeach()
  add_custom_target(kavrin_compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${KAVRIN_METADATA_DIR}/kavrin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${KAVRIN_METADATA_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
