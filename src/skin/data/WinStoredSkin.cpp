#include "skin/data/WinStoredSkin.h"

#include <span>

#include "skin_resource.h"

namespace corvane {

namespace {

// A resource's bytes, left where the module keeps them.
std::span<const std::uint8_t> ResourceBytes(HMODULE module, int id) {
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(10) /* RCDATA */);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
  if (!data) return {};
  return {data, SizeofResource(module, found)};
}

}  // namespace

StoredSkinResources LoadStoredSkinResources(HMODULE module) {
  StoredSkinResources out;
  const std::span<const std::uint8_t> stored = ResourceBytes(module, IDR_STOREDSKIN);
  if (stored.empty()) return out;
  out.stream.assign(stored.begin(), stored.end());
  for (const StoredSkinScale& scale : kStoredSkinScales) {
    const std::span<const std::uint8_t> set = ResourceBytes(module, scale.resource);
    if (!set.empty()) out.scaledSets.push_back({scale.dpi, set});
  }
  return out;
}

}  // namespace corvane
