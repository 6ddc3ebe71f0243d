# ctest: the catalogue that ships, the example game root's copy and the build tree's
# copy are the same bytes, and the changelog and the metainfo announce the version
# the project builds.
# cmake -DSOURCE_DIR=... -DVERSION=... -DBUILD_CATALOGUE=... -P ReleaseMetadata.cmake
cmake_minimum_required(VERSION 3.25)
set(problems "")

set(shipped ${SOURCE_DIR}/data/commands.txt)
foreach(copy ${SOURCE_DIR}/examples/gameroot/commands.txt ${BUILD_CATALOGUE})
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${shipped} ${copy} RESULT_VARIABLE differ)
    if(differ)
        string(APPEND problems "${copy} differs from ${shipped}: change the shipped catalogue and copy it\n")
    endif()
endforeach()

file(STRINGS ${SOURCE_DIR}/data/changelog first LIMIT_COUNT 1)
if(NOT first MATCHES "^cuewright \\(([^)]+)\\) ")
    string(APPEND problems "data/changelog: the first line is no changelog entry: ${first}\n")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    string(APPEND problems "data/changelog: the newest entry is ${CMAKE_MATCH_1}, the project is ${VERSION}\n")
endif()

file(READ ${SOURCE_DIR}/data/org.cuewright.Cuewright.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"([^\"]+)\"")
    string(APPEND problems "the metainfo lists no release\n")
elseif(NOT CMAKE_MATCH_1 STREQUAL VERSION)
    string(APPEND problems "the metainfo's newest release is ${CMAKE_MATCH_1}, the project is ${VERSION}\n")
endif()

if(problems)
    message(FATAL_ERROR "${problems}")
endif()
