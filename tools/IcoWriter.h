// Writes 32-bit surfaces as the images of one .ico file (tools only).
#pragma once

#include <string>
#include <vector>

#include "core/Surface.h"

namespace corvane::tools {

// Each surface becomes one icon image: 32-bit BGRA with an AND mask derived
// from alpha (fully transparent pixels are masked). Throws on I/O failure.
void WriteIcoFile(const std::string& path, const std::vector<Surface>& images);

}  // namespace corvane::tools
