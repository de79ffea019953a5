# Release packages, made by CPack: a zip and a setup program of the Windows build, a tarball, a
# .deb and an RPM of the static Linux build, and a zip of the web page. packaging/run makes all
# six.
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
# Every CPACK_ value reaches CPack exactly as written here, quotes and backslashes included.
set(CPACK_VERBATIM_VARIABLES ON)

# The time that every package member and the manual pages carry: SOURCE_DATE_EPOCH when it is set,
# otherwise the last commit's, so that every way of building one commit gives the same bytes.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(CPACK_STAMP_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                  OUTPUT_VARIABLE CPACK_STAMP_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(NOT CPACK_STAMP_EPOCH MATCHES "^[0-9]+$") # not a git checkout: the time of this configure
    string(TIMESTAMP CPACK_STAMP_EPOCH "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_STAMP_EPOCH}) # for the date below
endif()
string(TIMESTAMP PAGE_DATE "%Y-%m-%d" UTC)

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
# CPack gives every member of every package the time of SOURCE_DATE_EPOCH, which
# packaging/generator.cmake sets to CPACK_STAMP_EPOCH.

if(WIN32)
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-win64)

  # The setup program (packaging/generator.cmake names it ...-setup.exe) installs into
  # Program Files\vostrel-kandomir, adds a Start-menu folder with a shortcut to each program and
  # to the README, and registers an uninstaller with name, version and publisher. It leaves PATH
  # alone: the installer's stock PATH editing can cut a long PATH short. packaging/nsis/makensis
  # builds it for 64-bit Windows and with reproducible file times.
  set(CPACK_NSIS_EXECUTABLE ${PROJECT_SOURCE_DIR}/packaging/nsis/makensis)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY ${CPACK_PACKAGE_NAME})
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${CPACK_PACKAGE_NAME})
  set(CPACK_NSIS_PACKAGE_NAME ${CPACK_PACKAGE_NAME}) # also the Start-menu folder
  set(CPACK_NSIS_DISPLAY_NAME "${CPACK_PACKAGE_NAME} ${PROJECT_VERSION}")
  set(CPACK_NSIS_MODIFY_PATH OFF)
  # The stock uninstaller removes only the program's own key under the vendor's; the vendor's key
  # goes too once it is left empty, and never while it holds anything else.
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
      "DeleteRegKey SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}\"
  DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"")
  set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
  set(CPACK_PACKAGE_EXECUTABLES vostrel vostrel kandomir kandomir)
  set(CPACK_NSIS_MENU_LINKS README.txt README)
  set(CPACK_NSIS_INSTALLED_ICON_NAME vostrel.exe) # the icon in the list of installed programs
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
  # With CR LF line ends, so that Notepad shows them properly.
  foreach(doc README.md LICENSE)
    file(READ ${PROJECT_SOURCE_DIR}/${doc} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    get_filename_component(name ${doc} NAME_WE)
    file(WRITE ${PROJECT_BINARY_DIR}/${name}.txt "${text}")
    install(FILES ${PROJECT_BINARY_DIR}/${name}.txt DESTINATION . COMPONENT archive)
  endforeach()
elseif(EMSCRIPTEN)
  # The web page: one folder with index.html, its script and style sheet, the two programs as
  # WebAssembly, and README and LICENSE. It opens from the file or from any static host.
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-web)
  set(CPACK_STRIP_FILES OFF) # the programs are JavaScript, their WebAssembly already without names
  install(FILES ${PROJECT_BINARY_DIR}/page/index.html ${PROJECT_BINARY_DIR}/page/page.js
                ${PROJECT_BINARY_DIR}/page/style.css DESTINATION . COMPONENT programs)
  install(FILES README.md LICENSE DESTINATION . COMPONENT archive EXCLUDE_FROM_ALL)
else()
  set(CPACK_GENERATOR TGZ DEB RPM)
  string(TOLOWER ${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR} platform)
  set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-${platform})
  install(FILES README.md LICENSE DESTINATION . COMPONENT archive EXCLUDE_FROM_ALL)

  # The manual pages take the project's version and the date of CPACK_STAMP_EPOCH. They and the
  # changelog are compressed as Debian wants them: gzip -9, with no name or time in the header.
  set(doc share/doc/${CPACK_PACKAGE_NAME})
  install(FILES README.md LICENSE DESTINATION ${doc} COMPONENT docs)
  foreach(page vostrel.1 kandomir.1)
    configure_file(man/${page}.in man/${page} @ONLY)
  endforeach()
  foreach(page ${PROJECT_BINARY_DIR}/man/vostrel.1 ${PROJECT_BINARY_DIR}/man/kandomir.1
               ${PROJECT_SOURCE_DIR}/packaging/debian/changelog)
    get_filename_component(name ${page} NAME)
    add_custom_command(OUTPUT ${name}.gz COMMAND gzip -9n -c ${page} > ${name}.gz DEPENDS ${page})
    list(APPEND compressed ${PROJECT_BINARY_DIR}/${name}.gz)
  endforeach()
  add_custom_target(compressed_docs ALL DEPENDS ${compressed})
  install(FILES ${PROJECT_BINARY_DIR}/vostrel.1.gz ${PROJECT_BINARY_DIR}/kandomir.1.gz
          DESTINATION share/man/man1 COMPONENT programs)
  install(FILES packaging/debian/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${doc} COMPONENT debian EXCLUDE_FROM_ALL)
  install(FILES packaging/debian/lintian-overrides DESTINATION share/lintian/overrides
          RENAME ${CPACK_PACKAGE_NAME} COMPONENT debian EXCLUDE_FROM_ALL)

  # Debian's and RPM's names for the architecture the programs are built for, which need not be
  # this machine's.
  set(arch ${CMAKE_SYSTEM_PROCESSOR})
  if(arch MATCHES "^(x86_64|AMD64|amd64)$")
    set(debian_arch amd64)
  elseif(arch MATCHES "^(aarch64|arm64|ARM64)$")
    set(debian_arch arm64)
    set(arch aarch64)
  elseif(arch MATCHES "^i[3-6]86$")
    set(debian_arch i386)
  elseif(arch STREQUAL "ppc64le")
    set(debian_arch ppc64el)
  elseif(arch MATCHES "^armv7")
    set(debian_arch armhf)
  else()
    set(debian_arch ${arch}) # riscv64, s390x: the same name in both
  endif()
  set(CPACK_DEBIAN_FILE_NAME ${CPACK_PACKAGE_NAME}_${PROJECT_VERSION}_${debian_arch}.deb)
  set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${debian_arch})
  set(CPACK_RPM_PACKAGE_ARCHITECTURE ${arch})
  set(CPACK_DEBIAN_PACKAGE_SECTION misc)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

  # The RPM takes the licence file where Fedora keeps licences, marked as the licence, and its
  # build time, build host and file times from SOURCE_DATE_EPOCH, so that two builds of one
  # commit give the same bytes. packaging/rpm/rpmlint.toml says why each rpmlint finding left stands.
  install(FILES LICENSE DESTINATION share/licenses/${CPACK_PACKAGE_NAME}
          COMPONENT rpm EXCLUDE_FROM_ALL)
  set(CPACK_RPM_COMPONENT_INSTALL ON)
  set(CPACK_RPM_FILE_NAME RPM-DEFAULT)
  set(CPACK_RPM_PACKAGE_RELEASE 1)
  set(CPACK_RPM_PACKAGE_LICENSE MIT)
  set(CPACK_RPM_PACKAGE_SUMMARY "Console exercises in Albanian: patient record, product series")
  set(CPACK_RPM_CHANGELOG_FILE ${PROJECT_SOURCE_DIR}/packaging/rpm/changelog)
  set(CPACK_RPM_USER_FILELIST "%license /usr/share/licenses/${CPACK_PACKAGE_NAME}/LICENSE")
  set(CPACK_RPM_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
  # The system owns these folders; the package owns only its own files and its licence folder.
  list(APPEND CPACK_RPM_EXCLUDE_FROM_AUTO_FILELIST_ADDITION
       /usr/share/man /usr/share/man/man1 /usr/share/licenses)
  # No /usr/lib/.build-id links: the programs carry no debugging information to find by them.
  # No post-install steps: the build has already stripped the programs and compressed the pages,
  # and rpmbuild's own stripping would also drop their .comment section, so that the RPM's
  # programs would differ from the .deb's and the tarball's. The packager is the .deb's maintainer.
  set(CPACK_RPM_SPEC_MORE_DEFINE "%define _buildhost reproducible
%define __os_install_post %{nil}
%define use_source_date_epoch_as_buildtime 1
%define clamp_mtime_to_source_date_epoch 1
%define _build_id_links none
%define packager ${CPACK_PACKAGE_CONTACT}")
endif()

include(CPack)
