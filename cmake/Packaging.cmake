# The Debian package: cpack -G DEB in a Release build.
set(CPACK_PACKAGE_NAME "palavex")
set(CPACK_PACKAGE_VENDOR "Palavex")
set(CPACK_PACKAGE_CONTACT "Palavex developers <developers@palavex.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Viewer and editor for Mega Drive / Genesis emulator savestates")
set(CPACK_PACKAGE_DESCRIPTION
    "Palavex opens a savestate of a Sega Mega Drive / Genesis emulator and shows its CPU, sound\n"
    "chip and VDP registers, the colours, patterns, sprites and the composed screen, and the\n"
    "three RAM blocks in hex editors; edits are written back as a savestate. The package holds\n"
    "the desktop program (vantor) and the command-line tool (vantor-cli).")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "devel")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://palavex.org/")
include(CPack)
