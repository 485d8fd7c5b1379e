# Installation layout, after Debian's rules for games:
#
#   games/vorlandi                    the launcher, on the players' PATH
#   lib/games/vorlandi/vorlandi       the executable
#   lib/games/vorlandi/img            a link to share/games/vorlandi/img
#   share/games/vorlandi/img/         the sounds, pictures and cursor
#
# The game reads its assets from img/ beside its own executable, so the executable lives in a
# private folder with a link to the assets, which are the same on every architecture and
# therefore belong under share/. Debian's debian/rules installs with this file.

include(GNUInstallDirs)

set(vorlandi_launcher_dir games)
set(vorlandi_private_dir lib/games/vorlandi)
set(vorlandi_assets_dir "${CMAKE_INSTALL_DATADIR}/games/vorlandi/img")
set(vorlandi_desktop_id "org.vorlandi.Vorlandi")

install(TARGETS vorlandi RUNTIME DESTINATION "${vorlandi_private_dir}")
install(DIRECTORY "${PROJECT_SOURCE_DIR}/img/" DESTINATION "${vorlandi_assets_dir}")

# Relative links and a relative launcher: the installed tree works wherever it is unpacked
# (a package's staging folder, another --prefix, a moved folder).
file(RELATIVE_PATH vorlandi_private_to_assets
    "/prefix/${vorlandi_private_dir}" "/prefix/${vorlandi_assets_dir}")
install(CODE "
    set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${vorlandi_private_dir}/img\")
    message(STATUS \"Installing: \${link} -> ${vorlandi_private_to_assets}\")
    file(REMOVE_RECURSE \"\${link}\")
    file(CREATE_LINK \"${vorlandi_private_to_assets}\" \"\${link}\" SYMBOLIC)
")

file(RELATIVE_PATH vorlandi_launcher_to_private
    "/prefix/${vorlandi_launcher_dir}" "/prefix/${vorlandi_private_dir}")
file(CONFIGURE OUTPUT "${PROJECT_BINARY_DIR}/launcher/vorlandi" @ONLY CONTENT [=[
#!/bin/sh
# The game reads img/ from beside its executable, which therefore lives in a private folder.
# readlink -f follows a symbolic link to this launcher back to the installed tree.
here=$(dirname -- "$(readlink -f -- "$0")")
exec "$here/@vorlandi_launcher_to_private@/vorlandi" "$@"
]=])
install(PROGRAMS "${PROJECT_BINARY_DIR}/launcher/vorlandi" DESTINATION "${vorlandi_launcher_dir}")

install(FILES "${PROJECT_SOURCE_DIR}/dist/vorlandi.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
install(FILES "${PROJECT_SOURCE_DIR}/dist/${vorlandi_desktop_id}.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/dist/${vorlandi_desktop_id}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
foreach(size IN ITEMS 48 64 128 256)
    install(FILES "${PROJECT_SOURCE_DIR}/app/resources/icons/${size}.png"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
        RENAME "${vorlandi_desktop_id}.png")
endforeach()
