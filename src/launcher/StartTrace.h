// Where the program's start-up time and memory go: with CORVANE_START_TRACE
// naming a file, each step of the start appends "<ms since the process was
// created> ms <working set> kB <step>" to it, with what the C runtime's heap
// holds in use and free at that point. Without the variable nothing is
// written and each mark costs one flag test. Windows only.
#pragma once

namespace corvane {

void StartTraceMark(const char* step);

// Appends one line "heap <name> <first address> <end address>" (hex) per
// reserved range of the C runtime's heap and of the process heap, so a
// reader of the process's memory map can name those ranges.
void StartTraceHeapRanges();

}  // namespace corvane
