# Packaging with CPack: on Linux a Debian package (.deb) that installs under
# /usr. scripts/package.sh builds a release copy and runs cpack.

set(CPACK_PACKAGE_NAME kavrin)
set(CPACK_PACKAGE_VENDOR "kavrin developers")
set(CPACK_PACKAGE_CONTACT "kavrin developers <kavrin@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "BASIC program editor for an 8-bit Japanese home computer")
set(CPACK_PACKAGE_DESCRIPTION
    "kavrin is a desktop text editor for writing the BASIC programs of an 8-bit
Japanese home computer on a PC, and for turning a saved program into a
cassette tape image (.cas) with an external converter. Numbered BASIC lines
are typed much as on the machine itself: function-key strings, AUTO line
numbers and TAB completion of BASIC keywords. The interface is Japanese and
programs are kept as Shift-JIS text with CR LF line ends.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_NAME kavrin)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "kavrin developers <kavrin@example.org>")
  set(CPACK_DEBIAN_PACKAGE_SECTION editors)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # The Japanese fonts, and Qt's own Japanese for the buttons of its dialogs.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic, qt6-translations-l10n")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)

  find_program(KAVRIN_DPKG dpkg)
  if(KAVRIN_DPKG)
    execute_process(COMMAND ${KAVRIN_DPKG} --print-architecture OUTPUT_VARIABLE KAVRIN_DEB_ARCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${KAVRIN_DEB_ARCH})
  endif()

  # dpkg-shlibdeps (package dpkg-dev) reads the dependencies off the
  # program's libraries; without it they are named here.
  find_program(KAVRIN_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(KAVRIN_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libqt6widgets6 (>= 6.2), libqt6gui6 (>= 6.2), libqt6core6 (>= 6.2), libc6, libstdc++6, libgcc-s1")
  endif()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/Metadata.cmake)
include(CPack)
