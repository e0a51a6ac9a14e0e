# cmake --install, in one of two layouts.
#
# Default: the conventional tree under a system prefix (/usr, /usr/local,
# /opt/vornik): bin/vornik, the desktop entry, icons and AppStream metadata
# under share/, the sample data in share/vornik/. Such a program folder is
# not writable for its users, so the program keeps its files in a per-user
# folder, seeded from share/vornik/ at the first start.
#
# -DVORNIK_PORTABLE=ON: one portable program folder, the prefix itself:
# executable, icon, desktop entry and sample data side by side, where the
# program keeps all its files:  cmake --install build --prefix ~/vornik

option(VORNIK_PORTABLE "Install as one portable program folder instead of a system tree" OFF)

include(GNUInstallDirs)

set(VORNIK_SAMPLES vornik.txt vornik.dat)
set(VORNIK_RESOURCES ${CMAKE_SOURCE_DIR}/resources)

if(VORNIK_PORTABLE)
  install(TARGETS vornik RUNTIME DESTINATION .)
  install(FILES ${VORNIK_RESOURCES}/vornik.png DESTINATION .)
  # Sample data only where there is none: installing again must never
  # replace the user's recipes.
  foreach(sample ${VORNIK_SAMPLES})
    install(CODE "
      if(EXISTS \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${sample}\")
        message(STATUS \"Kept: \${CMAKE_INSTALL_PREFIX}/${sample}\")
      else()
        file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}\" TYPE FILE
             FILES \"${CMAKE_SOURCE_DIR}/samples/${sample}\")
      endif()")
  endforeach()
  if(UNIX AND NOT APPLE)
    install(CODE "set(VORNIK_DESKTOP_TEMPLATE \"${VORNIK_RESOURCES}/vornik.desktop\")")
    install(SCRIPT ${VORNIK_RESOURCES}/install_desktop_entry.cmake)
  endif()
  return()
endif()

install(TARGETS vornik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Read only: the program copies them into the per-user folder.
install(FILES ${CMAKE_SOURCE_DIR}/samples/vornik.txt ${CMAKE_SOURCE_DIR}/samples/vornik.dat
        DESTINATION ${CMAKE_INSTALL_DATADIR}/vornik)
if(UNIX AND NOT APPLE)
  install(FILES ${VORNIK_RESOURCES}/vornik.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${VORNIK_RESOURCES}/vornik.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  install(FILES ${VORNIK_RESOURCES}/vornik.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${VORNIK_RESOURCES}/example.vornik.Vornik.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()

# cpack -G DEB: a Debian package of the system tree.
set(CPACK_PACKAGE_NAME vornik)
set(CPACK_PACKAGE_VENDOR "Vornik developers")
set(CPACK_PACKAGE_CONTACT "Vornik developers <vornik@vornik.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Crafting recipe database with a Japanese interface")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in Japanese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
