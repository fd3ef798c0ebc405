// One skin load from end to end: skin stream -> package -> definition ->
// parsed elements. Portable; the Windows skin component runs this and shows
// the package's message when the version is not one we read.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinPackage.h"

namespace corvane {

// Lets the parse fetch pictures from a loaded package.
class PackageSkinFiles final : public SkinFileSource {
 public:
  explicit PackageSkinFiles(const TSkinReader& reader) : m_reader(&reader) {}
  std::vector<std::uint8_t> ExtractFile(std::string_view name) const override {
    return m_reader->ExtractFile(name);
  }

 private:
  const TSkinReader* m_reader;
};

// Parses the definition (the first file whose name contains ".ini"; a package
// without one parses as all defaults) and pictures of a loaded package.
void ParseSkinPackage(const TSkinReader& reader, SkinDefinition& skin);

// Decodes and parses a skin stream into skin. When the stream cannot be read
// the previous elements stay, skin stays marked empty, and error (if given)
// receives the reader's reason.
SkinLoadStatus LoadSkinStream(std::span<const std::uint8_t> skinStream, SkinDefinition& skin,
                              std::string* error = nullptr);

}  // namespace corvane
