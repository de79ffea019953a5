# Read by CPack once for each package it makes: the .deb takes Debian's copyright file and
# changelog, the RPM its licence file, the archives and the setup program README and LICENSE at
# their top.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL programs debian)
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_COMPONENTS_ALL programs rpm)
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/rpm/stamp.cmake)
else()
  set(CPACK_COMPONENTS_ALL programs archive)
endif()
# The tarball unpacks into a folder of its own; the zip holds the programs and their two texts
# side by side, for a Windows user to double-click.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
# The setup program installs everything at once, with no page for choosing parts.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_MONOLITHIC_INSTALL ON)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-setup)
endif()
