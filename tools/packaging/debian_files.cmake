# Run by CPack on its staging folder before it packs the .deb: Debian wants manual pages and the changelog
# compressed with gzip -9n (no name, no time stamp).
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE staged_files "${staging}/quarnel.1" "${staging}/changelog")
foreach(staged IN LISTS staged_files)
  execute_process(COMMAND gzip -9nf "${staged}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
