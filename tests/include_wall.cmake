# The walls between the folders, which the compiler cannot keep (Qt's headers share one include
# root, so <QtWidgets/QLineEdit> compiles anywhere): every file in logic/ includes only logic/,
# Qt Core, Qt Gui and the standard library, and no file in media/ includes from app/. Each
# include that breaks a wall is named, and the test fails.
#   cmake -DSOURCE_DIR=... -DQT_HEADERS=<Qt's include root> -P include_wall.cmake
cmake_minimum_required(VERSION 3.25)
set(breaches "")

# A header Qt Core or Qt Gui provides, named bare (<QString>, <qtendian.h>) or with its module.
function(qt_core_or_gui header result)
    string(REGEX REPLACE "^Qt(Core|Gui)/" "" bare "${header}")
    set(${result} FALSE PARENT_SCOPE)
    if(NOT bare MATCHES "/")
        foreach(module QtCore QtGui)
            if(EXISTS "${QT_HEADERS}/${module}/${bare}")
                set(${result} TRUE PARENT_SCOPE)
            endif()
        endforeach()
    endif()
endfunction()

# The headers a file includes, in the order written.
function(included file result)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
    set(headers "")
    foreach(line IN LISTS lines)
        if(line MATCHES "[<\"]([^>\"]+)[>\"]")
            list(APPEND headers "${CMAKE_MATCH_1}")
        endif()
    endforeach()
    set(${result} "${headers}" PARENT_SCOPE)
endfunction()

file(GLOB logic_files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/logic/*.h" "${SOURCE_DIR}/logic/*.cpp")
foreach(file IN LISTS logic_files)
    included("${SOURCE_DIR}/${file}" headers)
    foreach(header IN LISTS headers)
        qt_core_or_gui("${header}" from_qt)
        if(from_qt OR header MATCHES "^logic/")
            continue()
        elseif(NOT header MATCHES "/" AND NOT header MATCHES "^[Qq]")
            continue() # the standard library: <cstdint>, <optional>
        endif()
        list(APPEND breaches "${file} includes ${header}, which is not Qt Core or Qt Gui")
    endforeach()
endforeach()

file(GLOB media_files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/media/*.h" "${SOURCE_DIR}/media/*.cpp")
foreach(file IN LISTS media_files)
    included("${SOURCE_DIR}/${file}" headers)
    foreach(header IN LISTS headers)
        if(header MATCHES "^app/")
            list(APPEND breaches "${file} includes ${header}, from the window above it")
        endif()
    endforeach()
endforeach()

list(LENGTH logic_files checked)
if(checked EQUAL 0)
    message(FATAL_ERROR "no files in ${SOURCE_DIR}/logic")
endif()
if(breaches)
    list(JOIN breaches "\n" text)
    message(FATAL_ERROR "${text}")
endif()
message(STATUS "${checked} files in logic/ include only logic/, Qt Core, Qt Gui and the standard library")
