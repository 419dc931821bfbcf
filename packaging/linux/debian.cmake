# The Debian package, made by CPack from the install rules (tools/package).
set(VELMORA_MAINTAINER "Velmora maintainers <maintainers@users.noreply.c-seed-d96773a7.example>")

# copyright in Debian's machine-readable format, its licence text taken from LICENSE.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "Copyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE: no copyright line followed by the licence text")
endif()
set(VELMORA_COPYRIGHT "${CMAKE_MATCH_1}")
string(STRIP "${CMAKE_MATCH_2}" text)
string(REPLACE "\n\n" "\n.\n" text "${text}")
string(REPLACE "\n" "\n " VELMORA_LICENSE_TEXT " ${text}")
configure_file(linux/copyright.in copyright @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# changelog.Debian, dated the release day.
execute_process(COMMAND env LC_ALL=C date -u -R -d "${VELMORA_RELEASE_DATE} 00:00"
                OUTPUT_VARIABLE VELMORA_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(linux/changelog.in changelog.Debian @ONLY)
velmora_gzip(changelog.Debian)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# Stripped the way dh_strip strips a program: no symbols, no .comment or .note.
install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                \"\$ENV{DESTDIR}${CMAKE_INSTALL_FULL_BINDIR}/velmora\" COMMAND_ERROR_IS_FATAL ANY)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VELMORA_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "translucent coloured tint to lay over the text you read")
set(CPACK_PACKAGE_DESCRIPTION "Velmora is a reading aid. It puts a translucent, coloured window on the
screen; you lay it over the text you are reading and the text shows through
the tint. Many people with visual stress read faster, longer and with less
strain through a coloured tint.

The colour is picked from a spectrum, the tint window can stay above other
windows, and everything is driven from an icon in the notification area.
Velmora remembers the colour, the window's place and size, and whether to
start at login.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary itself; Qt's X11 platform plugin is loaded
# at run time, where dpkg-shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_OUTPUT_FILE_PREFIX ${VELMORA_PACKAGE_DIR})
include(CPack)
