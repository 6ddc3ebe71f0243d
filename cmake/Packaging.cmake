# CPack: a Debian package and a tarball of what `cmake --install` puts in place.
#   cpack -G DEB    cuewright_VERSION_ARCH.deb, installing under /usr
#   cpack -G TGZ    cuewright-VERSION-Linux.tar.gz, a folder to unpack anywhere
# scripts/package.sh makes both from a Release build.
set(CUEWRIGHT_PACKAGE_MAINTAINER "Cuewright developers <developers@cuewright.org>"
    CACHE STRING "Maintainer of the packages, as \"Name <address>\"")

set(CPACK_PACKAGE_NAME cuewright)
set(CPACK_PACKAGE_VENDOR "The Cuewright developers")
set(CPACK_PACKAGE_CONTACT "${CUEWRIGHT_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the cutscene scripts of Darwinia mods")
set(CPACK_PACKAGE_DESCRIPTION
    "Cuewright edits the cutscene scripts and the strings table of mods for the
game Darwinia. A script opens into a grid of lines, each with a chooser of the
game's commands and fields for their arguments; the strings table is edited as
one text and keeps a backup.

The same program offers command-line tools: tokens and fmt show how the editor
reads and writes a script, commands lists the command catalogue, and check
reports where a mod's scripts and strings meet what the game reads differently
from the editor.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY cuewright)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB TGZ)
# The tarball unpacks into one folder, cuewright-VERSION-Linux, holding bin/ and share/.

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CUEWRIGHT_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The libraries the program links (Qt, the C++ runtime) as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The open buttons start xdg-open; Launch Darwinia may start wine.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS wine)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
