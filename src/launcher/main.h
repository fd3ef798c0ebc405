// Program start of the launcher.
#pragma once

namespace corvane {

// Runs the program from start to end; returns the process exit code.
int RunProgram();

}  // namespace corvane
