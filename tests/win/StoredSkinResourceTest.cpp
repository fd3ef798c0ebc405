// corvane.exe carries the skin our tools generate, byte for byte, where the
// skin component looks for it.
#include <gtest/gtest.h>

// Core headers first: the window system's headers define RGB as a macro.
#include "skin/data/SkinPackage.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

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

}  // namespace
