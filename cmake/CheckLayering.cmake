# Checks who includes whom: cmake -DROOT=<source dir> -DASSETGEN_LIBRARIES=<list>
# -P CheckLayering.cmake. The folders stack up as physics, puzzles (rules),
# session, views and app, with render beside them for the views and app and
# sound beside the views, and data (the run-time tree's files) under them
# all; a folder includes nothing from one above it. The asset generator reads the
# game's tables from the GL-free library only, so a game edit neither
# relinks it nor regenerates the art.
cmake_minimum_required(VERSION 3.25)
set(rules
    "src/physics:puzzles/ session/ views/ app/ render/ sound/"
    "src/puzzles:session/ views/ app/ render/ sound/"
    "src/session:views/ app/ render/ sound/"
    "src/render:physics/ puzzles/ session/ views/ app/ sound/"
    "src/views:app/ sound/"
    "src/data:physics/ puzzles/ session/ views/ app/ render/ sound/"
    "src/sound:views/ app/ render/"
    "tools/assetgen:session/ views/ app/")
set(broken "")
foreach(rule IN LISTS rules)
    string(REPLACE ":" ";" parts "${rule}")
    list(GET parts 0 folder)
    list(GET parts 1 forbidden)
    string(REPLACE " " ";" forbidden "${forbidden}")
    file(GLOB_RECURSE sources "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
    foreach(source IN LISTS sources)
        file(STRINGS "${source}" includes REGEX "^#include \"")
        foreach(line IN LISTS includes)
            foreach(prefix IN LISTS forbidden)
                if(line MATCHES "^#include \"${prefix}")
                    file(RELATIVE_PATH name "${ROOT}" "${source}")
                    string(APPEND broken "  ${name}: ${line}\n")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()
if("zarngame" IN_LIST ASSETGEN_LIBRARIES)
    string(APPEND broken "  the asset generator links the game's GL library\n")
endif()
if(broken)
    message(FATAL_ERROR "Includes across the layers:\n${broken}")
endif()
message(STATUS "The layers hold")
