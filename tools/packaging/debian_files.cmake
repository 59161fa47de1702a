# Run by CPack on its staging folder before it packs the .deb: Debian wants manual pages compressed and
# a changelog in the package's documentation folder, both with gzip -9n (no name, no time stamp).
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE staged_pages "${staging}/quarnel.6")
foreach(page IN LISTS staged_pages)
  execute_process(COMMAND gzip -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(GLOB_RECURSE staged_copyright "${staging}/copyright")
foreach(copyright IN LISTS staged_copyright)
  get_filename_component(doc_dir "${copyright}" DIRECTORY)
  string(TIMESTAMP now "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE "${doc_dir}/changelog"
       "quarnel (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium\n\n"
       "  * Release ${CPACK_PACKAGE_VERSION}.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${now}\n")
  execute_process(COMMAND gzip -9nf "${doc_dir}/changelog" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
