# Writes OUTPUT, a header defining QUARNEL_GIT_REVISION: the checkout's revision (with "-dirty" for
# changes not committed), or "" when SOURCE_DIR is not a git checkout. Run at every build; the file
# changes only when the revision does, so nothing is rebuilt otherwise.
set(revision "")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND ${GIT_EXECUTABLE} -C ${SOURCE_DIR} describe --always --dirty --abbrev=10 --match=no-tags
                  OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    set(revision "")
  endif()
endif()
file(CONFIGURE OUTPUT ${OUTPUT}.new CONTENT "#pragma once\n#define QUARNEL_GIT_REVISION \"${revision}\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E copy_if_different ${OUTPUT}.new ${OUTPUT})
file(REMOVE ${OUTPUT}.new)
