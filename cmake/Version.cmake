# Reads the program's version from resources/version.h, its one source, into
# CORVANE_VERSION ("1.3.3.16"). Included before project(), so the project's
# version, the manifest and the release package agree with the version block.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/../resources/version.h _corvane_version_lines
     REGEX "^#define CORVANE_VERSION_(MAJOR|MINOR|PATCH|BUILD) [0-9]+$")
set(_corvane_version_parts)
foreach(part MAJOR MINOR PATCH BUILD)
  set(_found "")
  foreach(line IN LISTS _corvane_version_lines)
    if(line MATCHES "^#define CORVANE_VERSION_${part} ([0-9]+)$")
      set(_found ${CMAKE_MATCH_1})
    endif()
  endforeach()
  if(_found STREQUAL "")
    message(FATAL_ERROR "resources/version.h lacks CORVANE_VERSION_${part}")
  endif()
  list(APPEND _corvane_version_parts ${_found})
endforeach()
list(JOIN _corvane_version_parts "." CORVANE_VERSION)
# cmake -DPRINT=1 -P cmake/Version.cmake prints it, for scripts.
if(PRINT)
  message(NOTICE "${CORVANE_VERSION}")
endif()
