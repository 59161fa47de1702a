# Run by CPack on its staging folder before it packs the .deb, for what Debian wants and CPack does not do:
# - the program stripped of its debug symbols and of the sections nothing reads (.comment, .note), as
#   dh_strip does; the symbols go to quarnel.debug beside the package, which the program names by a
#   debug link (gdb finds it next to the program or in /usr/lib/debug/usr/bin/);
# - manual pages and the changelog compressed with gzip -9n (no name, no time stamp).
set(staging "${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
file(GLOB_RECURSE staged_programs "${staging}/quarnel")
foreach(program IN LISTS staged_programs)
  set(debug_file "${CPACK_PACKAGE_DIRECTORY}/quarnel.debug")
  execute_process(COMMAND objcopy --only-keep-debug --compress-debug-sections "${program}" "${debug_file}"
                  COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND objcopy --strip-debug --strip-unneeded --remove-section=.comment --remove-section=.note
                          --add-gnu-debuglink=${debug_file} "${program}"
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()

file(GLOB_RECURSE staged_files "${staging}/quarnel.1" "${staging}/changelog")
foreach(staged IN LISTS staged_files)
  execute_process(COMMAND gzip -9nf "${staged}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
