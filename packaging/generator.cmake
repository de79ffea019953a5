# Read by CPack once for each package it makes: the .deb takes Debian's copyright file and
# changelog, the archives README and LICENSE at their top.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL programs debian)
else()
  set(CPACK_COMPONENTS_ALL programs archive)
endif()
# The tarball unpacks into a folder of its own; the zip holds the programs and their two texts
# side by side, for a Windows user to double-click.
if(CPACK_GENERATOR STREQUAL "TGZ")
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
