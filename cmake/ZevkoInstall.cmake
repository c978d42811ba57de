# Installation into a Linux desktop and the Debian package.
#
#   cmake --install build --prefix /usr/local     (or DESTDIR=... for staging)
#   cd build && cpack -G DEB
#
# The programs themselves are installed by install(TARGETS) beside their
# targets; this file adds what a desktop needs around them: the menu entry, the
# icon, the software-centre metadata, and the sample probe catalog that seeds a
# user's own catalog on the first start.
include(GNUInstallDirs)

# The AppStream component id. The desktop entry keeps the executable's name
# (zevko-pd.desktop): it is what the window reports as its class on X11 and
# as its app id on Wayland, so shells match the window to the entry without
# any call in the program.
set(ZEVKO_APP_ID "bg.zevko.ThreadPD")

# Where the project lives in public. The metainfo needs absolute https
# addresses for the home page and the screenshot; software centres fetch them,
# the build and the validation never do. Set both when publishing.
set(ZEVKO_PROJECT_URL "https://zevko.invalid"
  CACHE STRING "Home page of the project, for the AppStream metainfo")
set(ZEVKO_REPOSITORY_FILES_URL "${ZEVKO_PROJECT_URL}"
  CACHE STRING "Address under which the repository's files are served (the screenshot is docs/images/window.png below it)")
set(ZEVKO_SCREENSHOT_URL "${ZEVKO_REPOSITORY_FILES_URL}/docs/images/window.png")

set(ZEVKO_PACKAGE_MAINTAINER "Zevko Thread - PD maintainers <maintainers@zevko.invalid>"
  CACHE STRING "Maintainer field of the Debian package (Name <e-mail>)")

# The seed of the user's catalog, as the installed program finds it: relative
# to its bin directory, so that a staged or relocated tree works as well.
set(ZEVKO_INSTALL_CATALOG_DIR "${CMAKE_INSTALL_DATADIR}/zevko-pd")

if(ZEVKO_BUILD_APP)
  install(FILES "${PROJECT_SOURCE_DIR}/packaging/zevko-pd.desktop"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
  install(FILES "${PROJECT_SOURCE_DIR}/resources/images/zevko-pd.svg"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

  configure_file("${PROJECT_SOURCE_DIR}/packaging/${ZEVKO_APP_ID}.metainfo.xml.in"
    "${PROJECT_BINARY_DIR}/packaging/${ZEVKO_APP_ID}.metainfo.xml" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/packaging/${ZEVKO_APP_ID}.metainfo.xml"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

  install(FILES "${PROJECT_SOURCE_DIR}/resources/catalog/DEZADIRE.INI"
    DESTINATION "${ZEVKO_INSTALL_CATALOG_DIR}")
endif()

# The programs link only system libraries: no run-time search path of their
# own ($ORIGIN/../lib from the Qt project defaults), as Debian policy asks.
foreach(program IN ITEMS zevko-pd zevko-pd-calc)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "")
  endif()
endforeach()

# --- Debian package -------------------------------------------------------
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "zevko-pd")
set(CPACK_PACKAGE_VENDOR "Zevko")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "Zevko Thread - PD turns the value measured over three wires on an external\n\
thread, or between two balls in an internal thread, into the pitch diameter\n\
with Berndt's iteration (EA-10/10), or a pitch diameter into the values to\n\
expect. It corrects the flattening under the measuring force, proposes the\n\
probe from catalogs of wires and balls, shows millimetres or inches and\n\
speaks Bulgarian, German and English. zevko-pd-calc computes CSV files of\n\
measurements on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_NAME "zevko-pd")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ZEVKO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
if(NOT ZEVKO_PROJECT_URL MATCHES "\\.invalid(/|$)")
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZEVKO_PROJECT_URL}")
endif()
# The library dependencies (Qt, libstdc++) are read from the binaries by
# dpkg-shlibdeps, so they follow whatever the package was built against. On
# Debian 12 the SVG image and icon plugins ship in libqt6svg6, which the
# program links, so they come along.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
