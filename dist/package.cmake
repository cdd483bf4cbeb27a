# The Debian package: `make package`, or `cmake --build build --target
# package`, writes build/clockmaze_<version>_<arch>.deb. Its version is the
# project's; its dependencies are read from the binary by dpkg-shlibdeps.
set(CLOCKMAZE_MAINTAINER "The Clock Maze developers <clockmaze@users.noreply.github.com>"
  CACHE STRING "Maintainer line of the Debian package")

# A native package keeps its history in changelog.gz, which lintian wants
# in Debian's changelog format.
execute_process(COMMAND date -u -R -d "${CLOCKMAZE_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE CLOCKMAZE_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${dist}/changelog @ONLY)
add_custom_command(OUTPUT ${dist}/changelog.gz
  COMMAND gzip -9 -n -c ${dist}/changelog > ${dist}/changelog.gz
  DEPENDS ${dist}/changelog
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${dist}/changelog.gz)
install(FILES ${dist}/changelog.gz DESTINATION share/doc/clockmaze)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME clockmaze)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${CLOCKMAZE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: steer a mouse through the rings of a clock")
# Kept under 80 columns a line, as Debian's descriptions are.
set(CPACK_PACKAGE_DESCRIPTION "A mouse runs around a clock face that is also a circular maze of four
rings. It drops one ring inward whenever it stands over that ring's opening,
and reaching the centre zooms into a smaller clock with a new maze and less
time. If the clock's hand sweeps round before the mouse reaches the centre,
the game is over.

Clock Maze is played with the keyboard or a gamepad. Its pictures and sounds
are drawn and synthesised by the game's own generator.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${CLOCKMAZE_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Every file and member of the package dated to the release, wherever and
# whenever it is built: CPack reads SOURCE_DATE_EPOCH as it packs.
execute_process(COMMAND date -u -d "${CLOCKMAZE_RELEASE_DATE} 12:00" +%s
  OUTPUT_VARIABLE CLOCKMAZE_RELEASE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
file(WRITE ${dist}/cpack-project.cmake "set(ENV{SOURCE_DATE_EPOCH} ${CLOCKMAZE_RELEASE_EPOCH})\n")
set(CPACK_PROJECT_CONFIG_FILE ${dist}/cpack-project.cmake)
include(CPack)
