#include <gtest/gtest.h>

#include "SkinTestFiles.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/DerivedElements.h"
#include "skin/draw/ElementDrawing.h"

namespace corvane {
namespace {

using skintest::Bmp24;
using skintest::Parse;
using skintest::Tagged;

constexpr Pixel kMagenta = 0xFFFF00FFu;
constexpr Colour kFace = 0x00ECE2E3;

// A combo button strip of four 16x16 cells with magenta corners.
Surface ComboButtonPicture() {
  Surface s = Tagged(64, 16, 9);
  for (int cell = 0; cell < 4; ++cell) s.At(cell * 16, 0) = kMagenta;
  return s;
}

TEST(ComboArrow, WithoutSunkEdgeIsTheButtonWithMagentaTurnedToFace) {
  MemorySkinFiles files;
  files.Add("combo.bmp", Bmp24(ComboButtonPicture()));
  SkinDefinition skin;
  Parse(skin, "[Colours]\nButtonFace=227 226 236\n[ComboButton]\nImage=Combo.bmp\nTrans=1\nStyle=1\n",
        files);
  ASSERT_TRUE(skin.ComboButton);
  EXPECT_EQ(skin.ComboButton->Style, 1);  // no composite without a sunken edge
  EXPECT_EQ(skin.ComboButton->Frame, 4);
  Surface mirrored = ComboButtonPicture();
  MirrorBitmap(mirrored);
  EXPECT_EQ(skin.ComboButton->Bitmap2, mirrored);

  ASSERT_TRUE(skin.ComboxArrow);
  EXPECT_EQ(skin.ComboxArrow->Name, "ComboxArrow");
  EXPECT_EQ(skin.ComboxArrow->Frame, 4);
  Surface expected = ComboButtonPicture();
  for (int cell = 0; cell < 4; ++cell) expected.At(cell * 16, 0) = PixelFromColour(kFace);
  EXPECT_EQ(skin.ComboxArrow->Bitmap, expected);
  // The button itself keeps its magenta for transparent drawing.
  EXPECT_EQ(skin.ComboButton->Bitmap.At(16, 0), kMagenta);
}

TEST(ComboComposite, JoinsSunkEdgeButtonAndGlyphIntoWholeBoxes) {
  MemorySkinFiles files;
  files.Add("combo.bmp", Bmp24(Tagged(64, 16, 1)));
  files.Add("sunk.bmp", Bmp24(Tagged(80, 10, 2)));
  Surface extra = Tagged(80, 17, 3);
  files.Add("extra.bmp", Bmp24(extra));
  SkinDefinition skin;
  Parse(skin,
        "[ComboButton]\nImage=combo.bmp\n"
        "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=3\nRightWidth=3\nTopHeight=2\nBottomHeight=4\n"
        "[ExtraImages]\nImage=extra.bmp\n",
        files);
  ASSERT_TRUE(skin.ComboButton);
  ASSERT_TRUE(skin.SunkEdge);
  const TDataSkinBorder& box = *skin.ComboButton;
  ASSERT_EQ(box.Bitmap.Width(), 200);
  ASSERT_EQ(box.Bitmap.Height(), 21);
  EXPECT_EQ(box.Style, 2);
  // The button area is the scroll arrow width (16) plus 2.
  EXPECT_EQ((Margins{box.LeftWidth, box.TopHeight, box.RightWidth, box.BottomHeight}),
            (Margins{2, 2, 20, 4}));
  EXPECT_EQ(skin.SunkEdge->LeftWidth, 20);
  EXPECT_EQ(skin.SunkEdge->RightWidth, 2);
  Surface mirrored = box.Bitmap;
  MirrorBitmap(mirrored);
  EXPECT_EQ(skin.SunkEdge->Bitmap, mirrored);

  for (int s = 0; s < 4; ++s) {
    const int x0 = 50 * s;
    // The text area is left transparent for the edit inside.
    EXPECT_EQ(box.Bitmap.At(x0 + 2, 2), kMagenta);
    EXPECT_EQ(box.Bitmap.At(x0 + 30, 17), kMagenta);
    // Corners of the sunken edge cell s, unscaled.
    EXPECT_EQ(box.Bitmap.At(x0, 0), Tagged(80, 10, 2).At(20 * s, 0));
    EXPECT_EQ(box.Bitmap.At(x0 + 2, 20), Tagged(80, 10, 2).At(20 * s + 2, 9)) << s;
    // The button cell s stretched into (32, 0)-(50, 21): its last pixel lands last.
    EXPECT_EQ(box.Bitmap.At(x0 + 49, 20), Tagged(64, 16, 1).At(16 * s + 15, 15));
    // The glyph cell, 16 x 17, centred unscaled in the 18 x 21 button area.
    EXPECT_EQ(box.Bitmap.At(x0 + 33, 2), extra.At(16 * s, 0));
    EXPECT_EQ(box.Bitmap.At(x0 + 48, 18), extra.At(16 * s + 15, 16));
  }

  ASSERT_TRUE(skin.ComboxArrow);
  ASSERT_EQ(skin.ComboxArrow->Bitmap.Width(), 68);
  ASSERT_EQ(skin.ComboxArrow->Bitmap.Height(), 17);
  EXPECT_EQ(skin.ComboxArrow->Frame, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(skin.ComboxArrow->Bitmap.At(17 * i, 0), box.Bitmap.At(50 * (i + 1) - 19, 2));
    EXPECT_EQ(skin.ComboxArrow->Bitmap.At(17 * i + 16, 16), box.Bitmap.At(50 * (i + 1) - 3, 18));
  }
}

TEST(ComboArrow, ANewSkinWithoutComboButtonDropsTheOldArrow) {
  MemorySkinFiles files;
  files.Add("combo.bmp", Bmp24(ComboButtonPicture()));
  SkinDefinition skin;
  Parse(skin, "[ComboButton]\nImage=Combo.bmp\n", files);
  ASSERT_FALSE(skin.ComboxArrow->Bitmap.IsEmpty());
  Parse(skin, "[Colours]\nButtonFace=1 2 3\n", files);
  ASSERT_TRUE(skin.ComboxArrow);
  EXPECT_TRUE(skin.ComboxArrow->Bitmap.IsEmpty());
}

TEST(FrameColour, SampledFromTheTopBorderOrFace) {
  Surface top(142, 50, PixelFromColour(0x112233));
  top.At(47, 8) = PixelFromColour(Rgb(64, 91, 166));
  top.At(47, 16) = PixelFromColour(Rgb(1, 1, 1));
  MemorySkinFiles files;
  files.Add("top.bmp", Bmp24(top));
  SkinDefinition skin;
  Parse(skin, "[Personality]\nTop=Top.bmp\nTopFrame=2\n", files);
  EXPECT_EQ(FrameColour(skin), Rgb(64, 91, 166));
  EXPECT_EQ(skin.Colours[SkinDefinition::kFrameColour], Rgb(64, 91, 166));

  // A frame count of 0 must not divide by zero: the strip is one cell.
  SkinDefinition zero;
  Parse(zero, "[Personality]\nTop=Top.bmp\nTopFrame=0\n", files);
  EXPECT_EQ(FrameColour(zero), Rgb(1, 1, 1));

  SkinDefinition none;
  Parse(none, "[Colours]\nButtonFace=227 226 236\n", files);
  EXPECT_EQ(none.Colours[SkinDefinition::kFrameColour], kFace);
}

// Parses a skin whose frame colour is c and returns its toolbar picture.
Surface ToolbarFor(Colour c, Colour face) {
  MemorySkinFiles files;
  files.Add("top.bmp", Bmp24(Surface(9, 9, PixelFromColour(c))));
  SkinDefinition skin;
  const std::string faceText = std::to_string(RedOf(face)) + " " + std::to_string(GreenOf(face)) +
                               " " + std::to_string(BlueOf(face));
  Parse(skin, "[Personality]\nTop=top.bmp\n[Colours]\nButtonFace=" + faceText + "\n", files);
  EXPECT_EQ(skin.Toolbar->Frame, 1);
  EXPECT_EQ(skin.Toolbar->Name, "Toolbar");
  return skin.Toolbar->Bitmap;
}

void ExpectGradient(const Surface& picture, Colour top, Colour bottom) {
  ASSERT_EQ(picture.Width(), 10);
  ASSERT_EQ(picture.Height(), 40);
  const auto bands = BuildGradientColours(40, top, bottom);
  for (int y = 0; y < 40; ++y) {
    EXPECT_EQ(picture.At(0, y), PixelFromColour(bands[static_cast<std::size_t>(y)])) << y;
    EXPECT_EQ(picture.At(9, y), picture.At(0, y));
  }
}

TEST(ToolbarGradient, BottomColourFollowsSaturation) {
  const Colour top = Blend(kFace, 0xFFFFFF, 150);
  EXPECT_EQ(top, Rgb(251, 251, 252));
  // White: saturation 0, the grey blend stays.
  ExpectGradient(ToolbarFor(0xFFFFFF, kFace), top, Blend(0x808080, 0xFFFFFF, 150));
  EXPECT_EQ(Blend(0x808080, 0xFFFFFF, 150), Rgb(236, 236, 236));
  // Dark: saturation 200 gives a weight of 54 percent of the frame colour.
  ExpectGradient(ToolbarFor(0x202020, kFace), top, Blend(0x202020, 0xFFFFFF, 54));
  EXPECT_EQ(Blend(0x202020, 0xFFFFFF, 54), Rgb(135, 135, 135));
  // Pure red: saturation 255, (5625 - 6375) / 140 truncates to -5, weight 45.
  ExpectGradient(ToolbarFor(Rgb(255, 0, 0), kFace), top, Blend(Rgb(255, 0, 0), 0xFFFFFF, 45));
  // Saturation 110 exactly is not above the threshold.
  const Colour mild = Rgb(255, 145, 145);
  ASSERT_EQ(ColourSaturation(mild), 110);
  ExpectGradient(ToolbarFor(mild, kFace), top, Blend(0x808080, mild, 150));
}

}  // namespace
}  // namespace corvane
