# Installation layout and the Debian package.
#
# The game finds its sounds, pictures and cursor in img/ beside its own executable, so the
# executable and img/ live together in a private folder under lib/, and bin/vorlandi is a
# launcher that starts the executable from there.

include(GNUInstallDirs)

set(vorlandi_private_dir "${CMAKE_INSTALL_LIBDIR}/vorlandi")
set(vorlandi_desktop_id "org.vorlandi.Vorlandi")

install(TARGETS vorlandi RUNTIME DESTINATION "${vorlandi_private_dir}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/img" DESTINATION "${vorlandi_private_dir}")

# The launcher finds the executable relative to its own location, so the installed tree can
# be moved (a different --prefix, a package's staging folder) without rewriting it.
file(RELATIVE_PATH vorlandi_launcher_to_private
    "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}/vorlandi")
file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/launcher/vorlandi" @ONLY CONTENT [=[
#!/bin/sh
# The game reads img/ from beside its executable, which therefore lives in a private folder.
# readlink -f follows a symbolic link to this launcher back to the installed tree.
here=$(dirname -- "$(readlink -f -- "$0")")
exec "$here/@vorlandi_launcher_to_private@/vorlandi" "$@"
]=])
install(PROGRAMS "${PROJECT_BINARY_DIR}/launcher/vorlandi" DESTINATION "${CMAKE_INSTALL_BINDIR}")

install(FILES "${PROJECT_SOURCE_DIR}/dist/${vorlandi_desktop_id}.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/dist/${vorlandi_desktop_id}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size IN ITEMS 48 64 128 256)
    install(FILES "${PROJECT_SOURCE_DIR}/app/resources/icons/${size}.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
        RENAME "${vorlandi_desktop_id}.png")
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlandi)
set(CPACK_PACKAGE_VENDOR Vorlandi)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "learn to write the numbers from 1 to 30 in digits")
set(CPACK_PACKAGE_DESCRIPTION [=[
A game in Italian for children who are learning to write numbers.
It says a number from 1 to 30 aloud and shows it in Italian words;
the child types it in digits.]=])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Vorlandi <vorlandi@vorlandi.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The debugging information stays in the build tree.
set(CPACK_STRIP_FILES ON)

# dpkg-shlibdeps reads the libraries the executable links against and their exact version
# bounds from the system. It needs dpkg-dev and file; without them CPack cannot run it, so the
# Qt runtime libraries are named by hand, at least as new as the Qt the game was built with.
# The window's fonts resolve to the Liberation faces, which no library dependency brings in.
find_program(VORLANDI_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(VORLANDI_FILE file)
if(VORLANDI_DPKG_SHLIBDEPS AND VORLANDI_FILE)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
else()
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
    set(vorlandi_qt_depends)
    foreach(library IN ITEMS libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6)
        list(APPEND vorlandi_qt_depends "${library} (>= ${Qt6_VERSION})")
    endforeach()
    list(APPEND vorlandi_qt_depends libc6 libstdc++6 fonts-liberation)
    list(JOIN vorlandi_qt_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
endif()

include(CPack)
