// Packing a skin folder into a .skn and back (tools and their tests).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "skin/data/SkinPackage.h"

namespace corvane::tools {

// Lower-case picture names a definition mentions ("Key=Name.bmp" values,
// directories dropped), in order of first mention.
std::vector<std::string> PicturesNamedBy(const std::vector<std::uint8_t>& definition);

// The files of a skin folder in package order: pictures as the definition
// first names them, other files by name, the definition (the one file whose
// name contains ".ini") last; names lower-cased. Throws std::runtime_error
// for no or several definitions and for names equal but for letter case.
std::vector<SkinPackageFile> CollectSkinFolder(const std::filesystem::path& dir);

// CollectSkinFolder, compressed into a version-70000 skin stream, read back
// for verification, then written to out in one step (never half-written).
void PackSkinFolder(const std::filesystem::path& dir, const std::filesystem::path& out);

// Writes every file of a skin stream into dir. Refuses a stream that does not
// load and any name that could leave dir; of equal names only the first (the
// one the program reads) is written.
void UnpackSkin(const std::filesystem::path& in, const std::filesystem::path& dir);

}  // namespace corvane::tools
