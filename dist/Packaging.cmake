# Debian package through CPack:  cpack -G DEB  in a configured build folder.
# Included at the end of the top-level CMakeLists.txt, after every install rule.

set(CPACK_PACKAGE_NAME tamsor)
set(CPACK_PACKAGE_VENDOR "The Tamsor developers")
set(CPACK_PACKAGE_CONTACT "The Tamsor developers <tamsor@example.invalid>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "wind-induced vibration response of tall slender structures")
set(CPACK_PACKAGE_DESCRIPTION
  "Tamsor computes the mean and first-mode fluctuating wind response, the wind
vibration coefficient, the equivalent static wind load, the LRC equivalent
wind load and the correction coefficient C of towers, chimneys and other tall
slender structures under the Chinese load code GB50009-201X or GB50009-2001.
It has a Chinese desktop window with a results table that copies into
spreadsheets, a PDF calculation book, a batch command and a Chinese help file.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Library dependencies (Qt 6, libstdc++) are worked out by dpkg-shlibdeps;
# Qt's own Chinese texts (buttons of the message boxes, context menus) come
# from the Qt translations package.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-noto-cjk, fonts-dejavu-core")
# The window, the report and the calculation book are in Chinese: without a
# CJK font the text shows as boxes, and the book embeds its Chinese text in
# Noto Sans CJK and its Latin text in DejaVu Sans. The file type of the .wvd
# files and the desktop entry reach the file managers through the triggers of
# shared-mime-info (update-mime-database) and desktop-file-utils
# (update-desktop-database), which run whenever a package installs files into
# their folders.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xchm | kchmviewer")

include(CPack)
