# Installation (cmake --install, make install) and the Debian package (cpack, make package).
# The window and its menu entry are installed only when the window is built.
include(GNUInstallDirs)

install(TARGETS umbrix RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/umbrix.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/umbrix OPTIONAL)

set(umbrix_package_programs "das Kommandozeilenprogramm umbrix")
if(TARGET umbrix-gui)
  string(APPEND umbrix_package_programs " und das Fenster umbrix-gui")
  install(TARGETS umbrix-gui RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/data/umbrix-gui.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/data/umbrix.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME umbrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Umbrix")
set(CPACK_PACKAGE_CONTACT "Umbrix <umbrix@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Aussagenlogische Formeln Schritt für Schritt in Normalformen umformen")
set(CPACK_PACKAGE_DESCRIPTION
    "Umbrix formt aussagenlogische Formeln Schritt für Schritt in die disjunktive und die
konjunktive Normalform um und schreibt jeden Zwischenschritt als Zeile eines
LaTeX-Dokuments, das mit pdflatex übersetzt werden kann.
Enthält ${umbrix_package_programs}.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The runtime libraries (libc, libstdc++, Qt) are found by dpkg-shlibdeps from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# LaTeX is not needed to run Umbrix, only to typeset what it writes; texlive-science carries the
# KV macros for the diagrams of the section "Ergebnis".
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "texlive-latex-base, texlive-lang-german, texlive-science")
include(CPack)
