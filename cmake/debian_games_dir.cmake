# Run by CPack between staging and packaging: Debian keeps the programs of
# games in /usr/games. The game finds its data from either place
# (PREFIX/games/veltmoore-brawl reads PREFIX/share/veltmoore-brawl/data too).
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${staged}/games")
file(RENAME "${staged}/bin/veltmoore-brawl" "${staged}/games/veltmoore-brawl")
file(REMOVE_RECURSE "${staged}/bin")  # held only the program
