// The few file-system questions every Windows-side folder asks: where the
// running program is and whether a file is there.
#pragma once

#include <string>

namespace corvane {

// Full path of the running executable (no length limit of MAX_PATH).
std::string ExecutablePath();

// True when path names an existing file (not a folder).
bool FileExists(const std::string& path);

}  // namespace corvane
