# The Debian package, built by `cpack -G DEB` from a Release build (scripts/package.sh). It
# holds everything `cmake --install` installs; a further program needs nothing here.
set(KFG_PACKAGE_CONTACT "KFG developers <dev@kfg.invalid>"
    CACHE STRING "Maintainer of the Debian package (name <address>)")

# Debian's changelog and copyright file. A version without a Debian revision makes a native
# package, whose changelog is changelog.gz.
set(kfg_changelog_gz ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${kfg_changelog_gz}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog
          ${CMAKE_BINARY_DIR}/packaging/changelog
  COMMAND ${KFG_GZIP} -9nf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(kfg_changelog ALL DEPENDS ${kfg_changelog_gz})
install(FILES ${kfg_changelog_gz} ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kfg)
set(CPACK_PACKAGE_VENDOR "KFG developers")
set(CPACK_PACKAGE_CONTACT "${KFG_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration dialog for the Telvio TV viewer")
set(CPACK_PACKAGE_DESCRIPTION [=[
KFG sets up Telvio, a TV viewer for Bt848 and Bt878 capture cards that runs
through wine. Started in Telvio's folder, it finds out which of the six Telvio
editions wrote Telvio.ini and shows exactly that edition's settings, checking
every number against its allowed range. It keeps named configurations in
KFG.ini, starts the chosen audio decoder and, from its start button, saves the
settings, switches on line-in in the sound card's mixer and hands over to
Telvio.

kfg-shortcut makes a desktop menu entry that starts KFG in one Telvio folder.
kfgctl brings the dialog's rules to the command line, without a window: it shows and
changes single settings, saves, applies and deletes named configurations, and
starts Telvio with a configuration.]=])
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_PACKAGE_NAME kfg)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's platform plugins (the window),
# and Qt's translations (the fields' edit menus in German or Spanish). Qt Svg, which draws every
# icon, is linked and found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
# Telvio and its decoders are Windows programs. Qt's Wayland plugin lets KFG's window be a
# Wayland client instead of going through XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "wine, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
