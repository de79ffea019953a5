# Read by CPack once for each package it makes.
# Every package member, and every file the setup program and the RPM stamp, gets the time that
# configuring chose (packaging/cpack.cmake).
set(ENV{SOURCE_DATE_EPOCH} ${CPACK_STAMP_EPOCH})
# The .deb takes Debian's copyright file and changelog, the RPM its licence file, the archives and
# the setup program README and LICENSE at their top.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_COMPONENTS_ALL programs debian)
elseif(CPACK_GENERATOR STREQUAL "RPM")
  set(CPACK_COMPONENTS_ALL programs rpm)
  set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/rpm/stamp.cmake)
else()
  set(CPACK_COMPONENTS_ALL programs archive)
endif()
# The tarball and the zip each unpack into one folder of their own, named as the file is.
if(CPACK_GENERATOR MATCHES "^(TGZ|ZIP)$")
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
# The setup program installs everything at once, with no page for choosing parts.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_MONOLITHIC_INSTALL ON)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME}-setup)
endif()
