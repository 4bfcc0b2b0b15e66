# Run by CPack between staging the files and archiving them. So that archives
# built at different times hold the same bytes, every staged file gets the
# time of the last commit (CPACK_SOURCE_DATE_EPOCH), and SOURCE_DATE_EPOCH
# tells the archiver to leave the build time out of the gzip header.
set(ENV{SOURCE_DATE_EPOCH} "${CPACK_SOURCE_DATE_EPOCH}")
file(GLOB_RECURSE staged LIST_DIRECTORIES true
  "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
execute_process(
  COMMAND touch -h -d "@${CPACK_SOURCE_DATE_EPOCH}"
    "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" ${staged}
  COMMAND_ERROR_IS_FATAL ANY)
