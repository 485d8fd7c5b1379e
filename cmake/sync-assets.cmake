# cmake -DSOURCE=DIR -DDEST=DIR -P sync-assets.cmake
cmake_policy(VERSION 3.25)
# Makes DEST a copy of SOURCE's files: a file is copied only when it differs, and a file that is
# no longer in SOURCE is removed from DEST.
file(GLOB wanted RELATIVE "${SOURCE}" "${SOURCE}/*")
file(GLOB present RELATIVE "${DEST}" "${DEST}/*")
file(MAKE_DIRECTORY "${DEST}")
foreach(name IN LISTS present)
    if(NOT name IN_LIST wanted)
        file(REMOVE_RECURSE "${DEST}/${name}")
    endif()
endforeach()
foreach(name IN LISTS wanted)
    file(COPY_FILE "${SOURCE}/${name}" "${DEST}/${name}" ONLY_IF_DIFFERENT)
endforeach()
