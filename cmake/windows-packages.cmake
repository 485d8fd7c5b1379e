# cmake -DEXE=FILE -DASSETS=DIR -DSOURCE_DIR=DIR -DVERSION=X.Y.Z -DOUT=DIR -P windows-packages.cmake
cmake_policy(VERSION 3.25)
# Makes the Windows packages of the game from the cross-built executable and its img/ folder:
#
#   vorlandi-X.Y.Z-windows-portable.zip   the folder Vorlandi: vorlandi.exe, img, LICENSE.txt
#   vorlandi-X.Y.Z-windows-installer.exe  for the user who runs it, without administrator rights
#   vorlandi-X.Y.Z-windows.msi            for every user of a machine, as group policy deploys it
#
# All three hold the same folder, staged anew in OUT/windows-staging with the executable
# stripped. A package goes into OUT only once every one is made, and the ones of the version an
# earlier run left go first: after a failure OUT holds none of them, never an old or half-written
# one. Every tool that fails stops the script with its error.

foreach(name IN ITEMS EXE ASSETS SOURCE_DIR VERSION OUT)
    if("${${name}}" STREQUAL "")
        message(FATAL_ERROR "${name} is not set (-D${name}=...)")
    endif()
endforeach()
# Relative paths are taken from the current folder, as given on the command line.
foreach(name IN ITEMS EXE ASSETS SOURCE_DIR OUT)
    cmake_path(ABSOLUTE_PATH ${name} NORMALIZE)
endforeach()
# The version of a Windows Installer product is three numbers, the first two below 256; the
# installer's file version adds a fourth.
if(NOT VERSION MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$" OR CMAKE_MATCH_1 GREATER 255
        OR CMAKE_MATCH_2 GREATER 255 OR CMAKE_MATCH_3 GREATER 65535)
    message(FATAL_ERROR "VERSION ${VERSION} is not X.Y.Z with X and Y up to 255, Z up to 65535")
endif()
find_program(STRIP x86_64-w64-mingw32-strip REQUIRED)
find_program(MAKENSIS makensis REQUIRED)
find_program(WIXL wixl REQUIRED)
find_program(WIXL_HEAT wixl-heat REQUIRED)

set(packages
    "vorlandi-${VERSION}-windows-portable.zip"
    "vorlandi-${VERSION}-windows-installer.exe"
    "vorlandi-${VERSION}-windows.msi")
set(work "${OUT}/windows-staging")
set(stage "${work}/Vorlandi")
foreach(package IN LISTS packages)
    file(REMOVE "${OUT}/${package}")
endforeach()
file(REMOVE_RECURSE "${work}")
file(MAKE_DIRECTORY "${stage}/img")

# The symbols and debugging information are of no use to a player and make most of a build's
# size; an executable that has none comes out the same.
execute_process(COMMAND "${STRIP}" --strip-all -o "${stage}/vorlandi.exe" "${EXE}"
    COMMAND_ERROR_IS_FATAL ANY)
file(SIZE "${EXE}" built)
file(SIZE "${stage}/vorlandi.exe" stripped)
if(stripped LESS built)
    message(STATUS "vorlandi.exe: ${built} bytes, ${stripped} stripped")
else()
    message(STATUS "vorlandi.exe: ${built} bytes, already stripped")
endif()

# The licence with Windows' line ends, which every Windows editor shows as lines.
file(READ "${SOURCE_DIR}/LICENSE" licence)
string(REPLACE "\r\n" "\n" licence "${licence}")
string(REPLACE "\n" "\r\n" licence "${licence}")
file(WRITE "${stage}/LICENSE.txt" "${licence}")

# The game reads the files of img/ beside itself, no folder below it. Each file is copied, and
# named in the lists the installer (img.nsh) and the msi (img.wxs, by wixl-heat) are made from.
file(GLOB assets LIST_DIRECTORIES false RELATIVE "${ASSETS}" "${ASSETS}/*")
list(SORT assets)
if(NOT assets)
    message(FATAL_ERROR "${ASSETS} holds no file")
endif()
set(add "")
set(remove "")
set(heat "")
foreach(name IN LISTS assets)
    file(COPY_FILE "${ASSETS}/${name}" "${stage}/img/${name}")
    # A $ in an installer's string starts a variable; $$ is the character itself.
    string(REPLACE "$" "$$" nsis_name "${name}")
    string(APPEND add "    File \"${stage}/img/${nsis_name}\"\n")
    string(APPEND remove "    Delete \"$INSTDIR\\img\\${nsis_name}\"\n")
    string(APPEND heat "Vorlandi/img/${name}\n")
endforeach()
file(WRITE "${work}/img.nsh" "!macro VORLANDI_IMG_INSTALL\n${add}!macroend\n"
    "!macro VORLANDI_IMG_UNINSTALL\n${remove}!macroend\n")
file(WRITE "${work}/img.list" "${heat}")

list(GET packages 0 package)
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar cf "${package}" --format=zip Vorlandi
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)

# -WX: a warning, such as a file that is missing from a page, fails the build.
list(GET packages 1 package)
execute_process(COMMAND "${MAKENSIS}" -V2 -WX "-DVERSION=${VERSION}" "-DSTAGE=${stage}"
        "-DIMG_LIST=${work}/img.nsh" "-DICON=${SOURCE_DIR}/app/resources/vorlandi.ico"
        "-DOUTFILE=${work}/${package}" "${SOURCE_DIR}/dist/windows/vorlandi.nsi"
    COMMAND_ERROR_IS_FATAL ANY)

# wixl finds source files relative to the folder it runs in, the staging folder's parent.
# wixl-heat's identifiers and the components' GUIDs come from the files' paths below Vorlandi/,
# so that they stay the same from one version to the next.
list(GET packages 2 package)
file(COPY_FILE "${SOURCE_DIR}/app/resources/vorlandi.ico" "${work}/vorlandi.ico")
execute_process(COMMAND "${WIXL_HEAT}" -p Vorlandi/ --win64 --component-group ImgFiles
        --var var.StageDir --directory-ref INSTALLDIR
    INPUT_FILE "${work}/img.list" OUTPUT_FILE "${work}/img.wxs" WORKING_DIRECTORY "${work}"
    COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND "${WIXL}" -a x64 -D "Version=${VERSION}" -D StageDir=Vorlandi
        -D IconFile=vorlandi.ico -D Win64=yes -o "${package}"
        "${SOURCE_DIR}/dist/windows/vorlandi.wxs" img.wxs
    WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)

foreach(package IN LISTS packages)
    file(RENAME "${work}/${package}" "${OUT}/${package}")
    file(SIZE "${OUT}/${package}" size)
    message(STATUS "${OUT}/${package}: ${size} bytes")
endforeach()
