# The Debian package of the Linux program (`cmake --build --preset release --target package`):
# what `cmake --install` puts under /usr, with the dependencies dpkg-shlibdeps finds in the
# program and its settings module, and the fonts the clocks are drawn in.

# The font packages the program needs at run time, from the one list that install-deps.sh reads too.
file(STRINGS ${PROJECT_SOURCE_DIR}/resources/font-packages font_packages REGEX "^[^#]")
list(JOIN font_packages ", " PELLOX_FONT_PACKAGES)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelloxss)
set(CPACK_PACKAGE_VENDOR Ovanta)
set(CPACK_PACKAGE_CONTACT Ovanta)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "world-clock screen saver for xscreensaver")
set(CPACK_PACKAGE_DESCRIPTION "Pellox shows five clocks full screen on every monitor: four time\n\
zones and the local time, each with its caption. It runs as an xscreensaver\n\
hack (pelloxss -root) or on its own (pelloxss /s); pelloxss /c opens its\n\
settings dialog.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PELLOX_MAKER_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to what dpkg-shlibdeps finds.
set(CPACK_DEBIAN_PACKAGE_DEPENDS ${PELLOX_FONT_PACKAGES})
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xscreensaver)
set(CPACK_STRIP_FILES ON)
# Installed as `cmake --install` does, under the configured prefix: the desktop entry names the
# program's installed path.
set(CPACK_SET_DESTDIR ON)
if(NOT CMAKE_INSTALL_PREFIX STREQUAL "/usr")
  message(STATUS "The Debian package wants CMAKE_INSTALL_PREFIX=/usr (the release preset)")
endif()
include(CPack)
