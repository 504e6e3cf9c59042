# The installed game: PREFIX/bin/veltmoore-brawl finds its data in
# PREFIX/share/veltmoore-brawl/data by its own location, so the prefix can be
# moved as a whole. The build writes the data tree, the icons and the manual
# page; `cmake --install` and the Debian package (scripts/package.sh) copy them.
include(GNUInstallDirs)
set(GAME_RELEASE_DATE 2026-12-08)
set(GAME_RELEASE_TIME "Tue, 08 Dec 2026 12:00:00 +0000")
set(GAME_MAINTAINER "Veltmoore Brawl developers <brawl@veltmoore.net>")
set(GAME_APP_ID net.veltmoore.brawl)

# build/data, as scripts/make_data.sh writes it (again only when the generator changed).
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/data/.complete
  COMMAND ${CMAKE_COMMAND} -E env BUILD_DIR=${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/scripts/make_data.sh
  DEPENDS gen_content ${CMAKE_SOURCE_DIR}/scripts/make_data.sh
  COMMENT "Writing the game data")
set(icon_files "")
foreach(size 64 128 256)
  list(APPEND icon_files ${CMAKE_BINARY_DIR}/icons/hicolor/${size}x${size}/apps/veltmoore-brawl.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND gen_content --icons ${CMAKE_BINARY_DIR}/icons
  DEPENDS gen_content
  COMMENT "Painting the icons")
# Compressed without a name or time stamp, so the same page gives the same file.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/man/veltmoore-brawl.6.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
  COMMAND man_page ${CMAKE_BINARY_DIR}/man/veltmoore-brawl.6
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/veltmoore-brawl.6
  DEPENDS man_page
  COMMENT "Writing the manual page")
configure_file(${CMAKE_SOURCE_DIR}/dist/changelog.in ${CMAKE_BINARY_DIR}/dist/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/dist/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/dist/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/dist/changelog)
add_custom_target(install_files ALL
  DEPENDS ${CMAKE_BINARY_DIR}/data/.complete ${icon_files} ${CMAKE_BINARY_DIR}/man/veltmoore-brawl.6.gz
          ${CMAKE_BINARY_DIR}/dist/changelog.gz)
# The copyright file: the game's notice, then the licence of the font it copies.
file(READ ${CMAKE_SOURCE_DIR}/dist/copyright.in game_notice)
file(READ /usr/share/doc/fonts-dejavu-core/copyright font_notice)
file(WRITE ${CMAKE_BINARY_DIR}/dist/copyright "${game_notice}${font_notice}")
configure_file(${CMAKE_SOURCE_DIR}/dist/veltmoore-brawl.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/dist/${GAME_APP_ID}.metainfo.xml @ONLY)

install(PROGRAMS $<TARGET_FILE:fight> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME veltmoore-brawl)
# install(PROGRAMS) never strips: `cmake --install --strip` and the package do it here.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND strip --remove-section=.comment --remove-section=.note
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/veltmoore-brawl\")
  endif()")
install(DIRECTORY ${CMAKE_BINARY_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/veltmoore-brawl/data
  PATTERN .complete EXCLUDE)
install(FILES dist/veltmoore-brawl.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${CMAKE_BINARY_DIR}/dist/${GAME_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_BINARY_DIR}/man/veltmoore-brawl.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_BINARY_DIR}/dist/copyright ${CMAKE_BINARY_DIR}/dist/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/veltmoore-brawl)

# The Debian package: scripts/package.sh, which builds first. Installing never
# builds (cpack would otherwise re-check every test target: a minute here).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltmoore-brawl)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "2D fighting game for one or two players")
# The long description (CPack indents it and puts the summary above it).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pick one of four fighters and fight the computer, or a friend at the same
keyboard, in matches of rounds against a clock on a scrolling stage with
parallax layers. Combos give a higher jump, a special shot and a dash; the
computer opponent plays at five levels of skill. Keyboard or joystick,
window or full screen, drawn with plain blits or OpenGL.")
set(CPACK_PACKAGE_CONTACT "${GAME_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_SOURCE_DIR}/cmake/debian_games_dir.cmake)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/package)
include(CPack)
