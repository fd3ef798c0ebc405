// The program's version, in one place: the version block (corvane.rc), the
// manifest, the release package's file name and its readme all read it from
// here (cmake/Version.cmake parses these four lines).
#pragma once

#define CORVANE_VERSION_MAJOR 1
#define CORVANE_VERSION_MINOR 3
#define CORVANE_VERSION_PATCH 3
#define CORVANE_VERSION_BUILD 16

#define CORVANE_STRINGIZE_(x) #x
#define CORVANE_STRINGIZE(x) CORVANE_STRINGIZE_(x)
// "1.3.3.16": the version block's FileVersion, shown in the editor's caption.
#define CORVANE_VERSION_TEXT                                          \
  CORVANE_STRINGIZE(CORVANE_VERSION_MAJOR)                            \
  "." CORVANE_STRINGIZE(CORVANE_VERSION_MINOR) "." CORVANE_STRINGIZE( \
      CORVANE_VERSION_PATCH) "." CORVANE_STRINGIZE(CORVANE_VERSION_BUILD)
