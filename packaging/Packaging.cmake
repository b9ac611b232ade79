# The game installed like any desktop game, as a Debian package (make package): the binary in
# /usr/games, its artwork and sounds in /usr/share/games/squeakrun/images and .../sounds, a menu entry,
# icons in the hicolor theme, AppStream data, a manual page and the files Debian wants in
# /usr/share/doc/squeakrun.
#
# These install rules form the component "system", which a plain `cmake --install` leaves out
# (EXCLUDE_FROM_ALL): `make install PREFIX=DIR` still lays out the self-contained game folder from
# the same build, and the package holds the system layout only. One build serves both, with no
# option to remember and no second build folder.
if(NOT TARGET squeakrun)
  return()
endif()

set(SQUEAKRUN_ID org.example.squeakrun)
set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(out ${CMAKE_BINARY_DIR}/packaging)

# The menu entry says the same as the game folder's, but starts the game from the PATH and takes its
# icon from the theme.
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${pkg}/squeakrun.desktop.in)
file(READ ${pkg}/squeakrun.desktop.in entry)
string(REPLACE "@DIR@/squeakrun" "squeakrun" entry "${entry}")
string(REGEX REPLACE "\nPath=[^\n]*" "" entry "${entry}")
string(REGEX REPLACE "\nIcon=[^\n]*" "\nIcon=squeakrun" entry "${entry}")
if(entry MATCHES "@DIR@")
  message(FATAL_ERROR "packaging/squeakrun.desktop.in names the game folder in a line the package cannot rewrite")
endif()
file(CONFIGURE OUTPUT ${out}/${SQUEAKRUN_ID}.desktop CONTENT "${entry}" @ONLY)
configure_file(${pkg}/squeakrun.6.in ${out}/squeakrun.6 @ONLY)

# Icons at the sizes menus and docks ask for, and the compressed manual page and changelog.
set(icon_sizes 16 32 48 64 128 256)
set(generated ${out}/squeakrun.6.gz ${out}/changelog.gz)
foreach(size ${icon_sizes})
  list(APPEND generated ${out}/icons/hicolor/${size}x${size}/apps/squeakrun.png)
endforeach()
add_custom_command(OUTPUT ${generated}
  COMMAND /usr/bin/python3 ${pkg}/make_files.py ${CMAKE_SOURCE_DIR}/images/squeakrun.png
          ${out}/squeakrun.6 ${pkg}/changelog ${out} ${icon_sizes}
  DEPENDS ${pkg}/make_files.py ${CMAKE_SOURCE_DIR}/images/squeakrun.png ${out}/squeakrun.6 ${pkg}/changelog
  VERBATIM)
add_custom_target(package-files ALL DEPENDS ${generated})

set(sys COMPONENT system EXCLUDE_FROM_ALL)
install(TARGETS squeakrun DESTINATION games ${sys})
# Stripped as Debian strips its own binaries: the symbols nobody links against, and the compiler's
# .comment and .note sections, which only say how it was built.
install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
              --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/games/squeakrun\" COMMAND_ERROR_IS_FATAL ANY)"
        ${sys})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/images/ DESTINATION share/games/squeakrun/images ${sys}
        FILES_MATCHING PATTERN "*.gif" PATTERN "*.png")
install(DIRECTORY ${CMAKE_SOURCE_DIR}/sounds/ DESTINATION share/games/squeakrun/sounds ${sys}
        FILES_MATCHING PATTERN "*.wav")
install(FILES ${out}/${SQUEAKRUN_ID}.desktop DESTINATION share/applications ${sys})
install(DIRECTORY ${out}/icons/ DESTINATION share/icons ${sys})
install(FILES ${pkg}/${SQUEAKRUN_ID}.metainfo.xml DESTINATION share/metainfo ${sys})
install(FILES ${out}/squeakrun.6.gz DESTINATION share/man/man6 ${sys})
install(FILES ${pkg}/copyright ${out}/changelog.gz DESTINATION share/doc/squeakrun ${sys})

set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};system;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_NAME squeakrun)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Squeakrun developers")
set(CPACK_PACKAGE_CONTACT "Squeakrun developers <squeakrun@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "two-player arcade race of mice in cars")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Two players share one keyboard, each steering a mouse in a little car around
a kitchen floor. Cars burn gas and refuel at a station, buy tank and speed at
another, and lay traps, rolling cheese and raspberry slicks in each other's
way. Bonus items lie about the floor; crashing into the wall or the other car
costs a life, and the best winning score is kept with its holder's name.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/squeakrun)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
