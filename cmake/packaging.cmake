# Installation into the usual places of a Linux desktop, and the Debian package built from it by CPack:
#   cmake --install build --prefix /usr        or        cmake --build build --target package
include(GNUInstallDirs)

set(VARNIKIT_MAINTAINER "Varnikit team <author@varnikit.example.org>"
    CACHE STRING "The package's maintainer, name and e-mail address")

set(data_dir ${PROJECT_SOURCE_DIR}/data)
set(packaging_dir ${CMAKE_BINARY_DIR}/packaging)
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/varnikit)

# The manual page and the changelog go compressed, without a time stamp, as Debian wants them.
configure_file(${data_dir}/debian/changelog.in ${packaging_dir}/changelog @ONLY)
configure_file(${data_dir}/debian/copyright.in ${packaging_dir}/copyright @ONLY)
set(compressed)
foreach(source ${data_dir}/varnikit.1 ${packaging_dir}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${packaging_dir}/${name}.gz
                     COMMAND gzip -9nc ${source} > ${packaging_dir}/${name}.gz
                     DEPENDS ${source}
                     COMMENT "Compressing ${name}")
  list(APPEND compressed ${packaging_dir}/${name}.gz)
endforeach()
add_custom_target(packaging_files ALL DEPENDS ${compressed})

install(TARGETS varnikit RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Debian keeps games in /usr/games, on every user's PATH; the program stays in bin/ and is found there too.
file(RELATIVE_PATH bin_from_games /usr/games /usr/${CMAKE_INSTALL_BINDIR}/varnikit)
file(MAKE_DIRECTORY ${packaging_dir}/games)
file(CREATE_LINK ${bin_from_games} ${packaging_dir}/games/varnikit SYMBOLIC)
install(FILES ${packaging_dir}/games/varnikit DESTINATION games)
install(FILES ${data_dir}/varnikit.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${data_dir}/org.example.varnikit.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${data_dir}/icons/varnikit.svg DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${data_dir}/icons/${size}x${size}/varnikit.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${packaging_dir}/varnikit.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${packaging_dir}/changelog.gz ${packaging_dir}/copyright DESTINATION ${doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnikit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnikit team")
set(CPACK_PACKAGE_CONTACT ${VARNIKIT_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "installs replacement game files into Counter-Strike")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VARNIKIT_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://varnikit.example.org/program/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The X11 platform plug-in is loaded at run time, so no linked library names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Russian captions of the standard buttons; opening files and folders through the desktop.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# CPack puts the summary above as the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Varnikit puts sets of replacement game files (player and weapon models,
sounds, sprites) into the game folder of Counter-Strike and takes them out
again. Every new file is matched by name to the game file it replaces
through a catalogue of the game folder; the original is backed up, the new
file is copied over it, and the set is recorded as a named installation
that can later be restored.
.
The windows of the program are in Russian.")
include(CPack)
