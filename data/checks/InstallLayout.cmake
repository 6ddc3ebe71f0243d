# ctest: `cmake --install` into a scratch prefix puts exactly the expected files in
# place, the installed program runs from there, finds the catalogue beside it at
# ../share/cuewright/commands.txt, and the menu entry, metainfo and icons agree on
# one application id.
# cmake -DBUILD_DIR=... -DPREFIX=... -DBINDIR=... -DDATADIR=... -DMANDIR=... -DAPP_ID=... -P InstallLayout.cmake
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install ended with ${status}")
endif()

set(doc ${DATADIR}/doc/cuewright)
set(expected
    ${BINDIR}/cuewright
    ${DATADIR}/cuewright/commands.txt
    ${DATADIR}/applications/${APP_ID}.desktop
    ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
    ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${DATADIR}/icons/hicolor/48x48/apps/${APP_ID}.png
    ${DATADIR}/icons/hicolor/128x128/apps/${APP_ID}.png
    ${MANDIR}/man1/cuewright.1.gz
    ${doc}/README.md
    ${doc}/docs/manual.md
    ${doc}/copyright
    ${doc}/changelog.gz)
list(SORT expected)
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
if(NOT installed STREQUAL expected)
    string(REPLACE ";" "\n  " installed_lines "${installed}")
    string(REPLACE ";" "\n  " expected_lines "${expected}")
    message(FATAL_ERROR "installed:\n  ${installed_lines}\nexpected:\n  ${expected_lines}")
endif()

set(program ${PREFIX}/${BINDIR}/cuewright)
cmake_path(GET program PARENT_PATH program_folder)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files
    ${program_folder}/../share/cuewright/commands.txt ${BUILD_DIR}/share/cuewright/commands.txt
    RESULT_VARIABLE differ)
if(differ)
    message(FATAL_ERROR "the installed program has no catalogue at ../share/cuewright/commands.txt")
endif()
execute_process(COMMAND ${program} --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^cuewright [0-9]+\\.[0-9]+\\.[0-9]+\n$")
    message(FATAL_ERROR "the installed program answered --version with ${status}: ${version}")
endif()

# The menu finds the program by its Exec name on PATH and the icon by its name; the
# software centre joins the metainfo to the menu entry by the launchable.
file(STRINGS ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop desktop)
if(NOT "Exec=cuewright" IN_LIST desktop OR NOT "Icon=${APP_ID}" IN_LIST desktop)
    message(FATAL_ERROR "the menu entry does not start cuewright with the icon ${APP_ID}: ${desktop}")
endif()
file(READ ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<id>${APP_ID}</id>"
   OR NOT metainfo MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>"
   OR NOT metainfo MATCHES "<binary>cuewright</binary>")
    message(FATAL_ERROR "the metainfo does not name ${APP_ID}, its menu entry and the program")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "installed ${BINDIR}/cuewright and its ${DATADIR} files; the program runs from the install")
