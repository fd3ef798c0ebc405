// corvane.exe carries the skin our tools generate, byte for byte, where the
// skin component looks for it.
#include <gtest/gtest.h>

// Core headers first: the window system's headers define RGB as a macro.
#include "skin/data/SkinPackage.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/WinStoredSkin.h"
#include "skin_resource.h"

namespace {

struct FreeModule {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};
using ModuleOwner = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

TEST(StoredSkinResource, ProgramEmbedsTheGeneratedSkinStream) {
  const char* exe = std::getenv("CORVANE_EXE");
  ASSERT_NE(exe, nullptr) << "CORVANE_EXE is not set";
  ModuleOwner module(LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_NE(module, nullptr) << "cannot open " << exe << " for its resources";

  HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(IDR_STOREDSKIN), MAKEINTRESOURCEA(10));
  ASSERT_NE(found, nullptr) << "no RCDATA resource " << IDR_STOREDSKIN;
  const DWORD size = SizeofResource(module.get(), found);
  HGLOBAL loaded = LoadResource(module.get(), found);
  ASSERT_NE(loaded, nullptr);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
  ASSERT_NE(data, nullptr);
  const std::vector<std::uint8_t> embedded(data, data + size);

  std::ifstream f(CORVANE_STORED_SKIN, std::ios::binary);
  const std::vector<std::uint8_t> generated{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(generated.empty()) << "cannot read " << CORVANE_STORED_SKIN;
  EXPECT_EQ(embedded, generated);

  corvane::TSkinReader reader;
  ASSERT_TRUE(reader.Load(embedded)) << reader.LastError();
  EXPECT_EQ(reader.Version(), 70000);
  EXPECT_EQ(reader.Count(), 37u);
  std::vector<std::uint8_t> ini;
  std::string name;
  EXPECT_TRUE(reader.ExtractFirstContaining(".ini", ini, name));
  EXPECT_EQ(name, "corvane harbour mist.ini");
}

TEST(StoredSkinResource, ProgramEmbedsTheSkinDrawnAtEachScale) {
  const char* exe = std::getenv("CORVANE_EXE");
  ASSERT_NE(exe, nullptr) << "CORVANE_EXE is not set";
  ModuleOwner module(LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_NE(module, nullptr) << "cannot open " << exe << " for its resources";
  const corvane::StoredSkinResources stored = corvane::LoadStoredSkinResources(module.get());
  ASSERT_FALSE(stored.stream.empty());
  ASSERT_EQ(stored.scaledSets.size(), std::size(kStoredSkinScales));
  for (std::size_t i = 0; i < stored.scaledSets.size(); ++i) {
    const corvane::ScaledSkinStream& set = stored.scaledSets[i];
    EXPECT_EQ(set.dpi, kStoredSkinScales[i].dpi);
    std::string path = CORVANE_STORED_SKIN;
    path.replace(path.rfind("stored.skn"), 10, "stored-" + std::to_string(set.dpi) + ".skn");
    std::ifstream f(path, std::ios::binary);
    const std::vector<std::uint8_t> generated{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(generated.empty()) << "cannot read " << path;
    EXPECT_TRUE(std::equal(set.stream.begin(), set.stream.end(), generated.begin(), generated.end())) << set.dpi;
  }
  // A program without the sets (the test programs) gives none, and no skin.
  const corvane::StoredSkinResources none = corvane::LoadStoredSkinResources(GetModuleHandleA(nullptr));
  EXPECT_TRUE(none.stream.empty());
  EXPECT_TRUE(none.scaledSets.empty());
}

}  // namespace
