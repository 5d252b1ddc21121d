# Stops with an error at any include line of src/ that runs upward: each folder may include
# only itself and the folders below it. Run as a script:
#   cmake -DSOURCE_DIR=<folder that holds src/> -P cmake/CheckLayers.cmake
# The build runs it before compiling; a test runs it on a tree with an upward include.
cmake_minimum_required(VERSION 3.25)

set(allowed_services "")
set(allowed_xml services)
set(allowed_model services)
set(allowed_project model xml services)
set(allowed_clipboard model xml services)
set(allowed_settings model services)
set(allowed_history model services)
set(allowed_app services xml model project clipboard settings history)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckLayers: SOURCE_DIR is not set")
endif()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}/src ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp)
set(faults "")
foreach(source IN LISTS sources)
    string(REGEX MATCH "^[^/]+" folder "${source}")
    if(NOT DEFINED allowed_${folder})
        list(APPEND faults "src/${source}: the folder '${folder}' has no place in the layers")
        continue()
    endif()
    file(STRINGS ${SOURCE_DIR}/src/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z_]+/")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([A-Za-z_]+)/.*$" "\\1" included "${line}")
        if(NOT included STREQUAL folder AND NOT included IN_LIST allowed_${folder})
            list(APPEND faults "src/${source}: '${folder}' may not include '${included}' (${line})")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "Includes that run against the layers:\n  ${text}")
endif()
