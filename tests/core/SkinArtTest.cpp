// The skin art generator: at the design scale it must keep drawing exactly
// the pictures the program has shipped (a changed pixel there is a changed
// look for every user at 100 %), and at other scales pictures that fit the
// engine's cutting of them.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "SkinArt.h"

namespace corvane::tools {
namespace {

// FNV-1a over the size, the depth and every pixel.
std::uint64_t Digest(const SkinPicture& p) {
  std::uint64_t h = 1469598103934665603ull;
  auto mix = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  };
  mix(static_cast<std::uint32_t>(p.surface.Width()));
  mix(static_cast<std::uint32_t>(p.surface.Height()));
  mix(static_cast<std::uint32_t>(p.bitsPerPixel));
  for (int y = 0; y < p.surface.Height(); ++y)
    for (int x = 0; x < p.surface.Width(); ++x) mix(p.surface.At(x, y));
  return h;
}

TEST(SkinArt, DesignScaleDrawsTheShippedPicturesExactly) {
  // Taken from the generator before it learnt to draw at other scales.
  const std::map<std::string, std::uint64_t> shipped = {
      {"buttons.bmp", 0xac3089bcd33b5238ull},
      {"checkbox.bmp", 0x60a047bf46a72af1ull},
      {"radiobutton.bmp", 0x33490d4001ad8499ull},
      {"progress.bmp", 0xe922cf90f27d5960ull},
      {"progresschunk.bmp", 0x5c4b4b7952972ff8ull},
      {"tab.bmp", 0xecf5d47d1f270d9aull},
      {"tabsheet.bmp", 0xd8f439c1c73b8764ull},
      {"comboboxbtn.bmp", 0xde1d5f0a402071f4ull},
      {"statusbar.bmp", 0x8411768e8081021aull},
      {"header.bmp", 0xf2fca6b150e6a7f9ull},
      {"scrollbararrow.bmp", 0x7e3092b88dbd0bdeull},
      {"scrollbarhthumb.bmp", 0x09d08521204a58f0ull},
      {"scrollbarvthumb.bmp", 0x13aa9e2f6aa5a2f1ull},
      {"scrollbarhbar.bmp", 0x61646dab14319004ull},
      {"scrollbarvbar.bmp", 0x9791083971653673ull},
      {"menubackground.bmp", 0x1f461390a84cd74bull},
      {"menuitem.bmp", 0xc8f911ba1c8b4ff1ull},
      {"extraimages.bmp", 0x6c68b43d8b2b525aull},
      {"trackthumbh.bmp", 0xd400653bbcd77138ull},
      {"trackbot.bmp", 0x92d7553013ebb13dull},
      {"trackbar.bmp", 0x2f5706f3613d47a4ull},
      {"trackbarv.bmp", 0xa53ee76dbf92bf0bull},
      {"mdibutton.bmp", 0x09ca24c0a5759673ull},
      {"spin.bmp", 0x28e95672f8671bc7ull},
      {"spinarrow.bmp", 0x2bd8f1245976419dull},
      {"spinh.bmp", 0xaa47f4cc7971bdb1ull},
      {"spinharrow.bmp", 0xf8bf10e5a5b3e66cull},
      {"closebutton.bmp", 0x3805bfb6881dca45ull},
      {"maxbutton.bmp", 0xbdb135b93a55ccebull},
      {"minbutton.bmp", 0x1fb03c0bd47ac605ull},
      {"restrorebutton.bmp", 0x5409cb7b997a90c7ull},
      {"frameleft.bmp", 0xe1f941ba32478662ull},
      {"frameright.bmp", 0x6ab28b45e7b28ff0ull},
      {"frametop.bmp", 0x07b362169fae150bull},
      {"framebottom.bmp", 0xf3c5f85cd6ade79full},
      {"mincaption.bmp", 0xff19a1ec2ede562full},
  };
  const auto pictures = DrawStoredSkin();
  ASSERT_EQ(pictures.size(), shipped.size());
  for (const auto& p : pictures) {
    const auto it = shipped.find(p.name);
    ASSERT_NE(it, shipped.end()) << p.name;
    EXPECT_EQ(Digest(p), it->second) << p.name;
  }
}

}  // namespace
}  // namespace corvane::tools
