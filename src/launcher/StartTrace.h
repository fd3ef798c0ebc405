// Where the program's start-up time and memory go: with CORVANE_START_TRACE
// naming a file, each step of the start appends "<ms since the process was
// created> ms <working set> kB <step>" to it. Without the variable nothing is written and each mark
// costs one flag test. Windows only.
#pragma once

namespace corvane {

void StartTraceMark(const char* step);

}  // namespace corvane
