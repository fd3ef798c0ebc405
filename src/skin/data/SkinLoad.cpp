#include "skin/data/SkinLoad.h"

namespace corvane {

void ParseSkinPackage(const TSkinReader& reader, SkinDefinition& skin) {
  std::vector<std::uint8_t> definition;
  std::string name;
  reader.ExtractFirstContaining(".ini", definition, name);
  TQuickIni ini;
  ini.LoadFromStream(std::span<const std::uint8_t>(definition));
  skin.ParseSkin(ini, PackageSkinFiles(reader));
}

SkinLoadStatus LoadSkinStream(std::span<const std::uint8_t> skinStream, SkinDefinition& skin,
                              std::string* error) {
  skin.SkinEmpty = true;
  TSkinReader reader;
  if (!reader.Load(skinStream)) {
    if (error) *error = reader.LastError();
    return reader.Status();
  }
  ParseSkinPackage(reader, skin);
  return SkinLoadStatus::Loaded;
}

}  // namespace corvane
