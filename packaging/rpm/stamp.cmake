# Run by CPack before it builds the RPM: every staged file gets the time of SOURCE_DATE_EPOCH.
# rpmbuild only brings later times down to it, so a file older than that (LICENSE in a checkout
# made long ago) would keep its own time, and two builds of one commit would differ.
execute_process(
  COMMAND find ${CPACK_TEMPORARY_INSTALL_DIRECTORY} -exec touch -h -d @$ENV{SOURCE_DATE_EPOCH} {} +
  COMMAND_ERROR_IS_FATAL ANY)
