# Release packages, made by CPack: a zip of the Windows build, and a tarball and a .deb of the
# static Linux build. packaging/run makes all three.
set(CPACK_PACKAGE_NAME vostrel-kandomir)
set(CPACK_PACKAGE_VENDOR "The vostrel and kandomir authors")
set(CPACK_PACKAGE_CONTACT "The vostrel and kandomir authors <authors@vostrel-kandomir.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "console exercises in Albanian: patient record, product series")
set(CPACK_PACKAGE_DESCRIPTION
    "Two small interactive console programs, each a worked exercise in record
types with member functions. vostrel asks for a patient's number, name, age,
city and diagnosis, and says whether the patient is of pension age. kandomir
reads an integer and a number and prints two products. Prompts and labels are
in Albanian.")
set(CPACK_STRIP_FILES ON)

# The programs, with their manual pages where there are any, go into every package and every
# install. The other components each belong to one kind of package, and a plain install takes
# none of them (EXCLUDE_FROM_ALL): `archive` is README and LICENSE at the top of the zip and the
# tarball, `debian` the copyright file, changelog and lintian override that the .deb has instead.
# A plain install on Unix takes `docs`, README and LICENSE under share/doc, which no package has.
# packaging/generator.cmake picks what each package takes.
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/generator.cmake)
# CPack gives every member of every package the time of SOURCE_DATE_EPOCH, which packaging/run
# sets, so that two builds of one commit give the same bytes.

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)
  # With CR LF line ends, so that Notepad shows them properly.
  foreach(doc README.md LICENSE)
    file(READ ${PROJECT_SOURCE_DIR}/${doc} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    get_filename_component(name ${doc} NAME_WE)
    file(WRITE ${PROJECT_BINARY_DIR}/${name}.txt "${text}")
    install(FILES ${PROJECT_BINARY_DIR}/${name}.txt DESTINATION . COMPONENT archive)
  endforeach()
else()
  set(CPACK_GENERATOR TGZ DEB)
  string(TOLOWER ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR} platform)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${platform})
  install(FILES README.md LICENSE DESTINATION . COMPONENT archive EXCLUDE_FROM_ALL)

  # Manual pages and the changelog are compressed as Debian wants them: gzip -9, with no name or
  # time in the header.
  set(doc share/doc/${CPACK_PACKAGE_NAME})
  install(FILES README.md LICENSE DESTINATION ${doc} COMPONENT docs)
  foreach(page man/vostrel.1 man/kandomir.1 packaging/debian/changelog)
    get_filename_component(name ${page} NAME)
    add_custom_command(OUTPUT ${name}.gz
      COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/${page} > ${name}.gz
      DEPENDS ${PROJECT_SOURCE_DIR}/${page})
    list(APPEND compressed ${PROJECT_BINARY_DIR}/${name}.gz)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${PROJECT_BINARY_DIR}/vostrel.1.gz ${PROJECT_BINARY_DIR}/kandomir.1.gz
          DESTINATION share/man/man1 COMPONENT programs)
  install(FILES packaging/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${doc} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES packaging/debian/lintian-overrides DESTINATION share/lintian/overrides
          RENAME ${CPACK_PACKAGE_NAME} COMPONENT debian EXCLUDE_FROM_ALL)

  set(CPACK_DEBIAN_FILE_NAME ${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_amd64.deb)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
endif()

include(CPack)
