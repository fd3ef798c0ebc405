// Skinned menu items: widths, content places, caption colours, separators.
#include <gtest/gtest.h>

#include "skin/forms/MenuItemLayout.h"

#include "skin/draw/ElementDrawing.h"

namespace corvane {
namespace {

TEST(MenuItemLayout, WidthsAndContentPlaces) {
  EXPECT_EQ(SkinnedPopupItemWidth(100, 2, true), 114) << "the launcher's menu with the stored skin";
  EXPECT_EQ(SkinnedPopupItemWidth(100, 2, false), 137);
  EXPECT_EQ(SkinnedPopupItemWidth(100, -1, true), 112) << "no item picture";
  EXPECT_EQ(SkinnedMainMenuItemWidth(100, 2, true), 112);
  EXPECT_EQ(SkinnedMainMenuItemWidth(100, 2, false), 137);
  // At another DPI the margin and glyph size arrive already scaled (from the
  // skin and the image list at that DPI); the layout's own gaps scale by the
  // one rule.
  EXPECT_EQ(SkinnedPopupItemWidth(200, 4, true, 192), 200 + 4 + 24);
  EXPECT_EQ(SkinnedPopupItemWidth(200, 3, false, 144), 200 + 3 + 53) << "35 at 1.5 rounds half up";
  EXPECT_EQ(SkinnedMainMenuItemWidth(200, 4, true, 144), 200 + 4 + 15);

  //  |1|LW|  glyph 16  |3| caption ...........|1|   (at 96 DPI)
  const Rect item{0, 20, 150, 40};
  const Rect big{0, 40, 300, 80};
  struct Case {
    const char* what;
    MenuItemContentInput in;
    Rect glyph, caption;
  };
  const Case cases[] = {
      {"image at R.left + 3", {item, 2, 16}, {3, 21, 19, 37}, {22, 20, 149, 40}},
      {"no item picture", {item, 0, 16}, {1, 21, 17, 37}, {20, 20, 149, 40}},
      {"checked takes at least 16", {item, 2, 12, true}, {3, 21, 19, 37}, {22, 20, 149, 40}},
      {"wide image list", {item, 2, 24}, {3, 21, 27, 45}, {30, 20, 149, 40}},
      {"separator has no glyph", {item, 2, 16, false, true}, {3, 21, 3, 21}, {22, 20, 149, 40}},
      {"right to left", {item, 2, 16, false, false, true}, {131, 21, 147, 37}, {1, 20, 128, 40}},
      //  |2|LW 4|  glyph 32  |6| caption ...|2|
      {"192: every gap doubled", {big, 4, 32, false, false, false, 192}, {6, 42, 38, 74}, {44, 40, 298, 80}},
      {"192: a check mark takes at least 32", {big, 4, 20, true, false, false, 192}, {6, 42, 38, 74}, {44, 40, 298, 80}},
      {"144: 1 -> 2, 3 -> 5", {big, 3, 24, false, false, false, 144}, {5, 42, 29, 66}, {34, 40, 298, 80}},
      {"192 right to left", {big, 4, 32, false, false, true, 192}, {262, 42, 294, 74}, {2, 40, 256, 80}},
  };
  for (const Case& c : cases) {
    MenuItemContentLayout l = LayoutMenuItemContent(c.in);
    EXPECT_EQ(l.glyphBox, c.glyph) << c.what;
    EXPECT_EQ(l.captionBox, c.caption) << c.what;
  }
  EXPECT_EQ(MenuShortcutBox(item, {22, 23, 80, 37}, false), (Rect{80, 20, 139, 40}));
  EXPECT_EQ(MenuShortcutBox(item, {60, 23, 128, 37}, true), (Rect{11, 20, 60, 40}));
  EXPECT_EQ(MenuShortcutBox(big, {44, 46, 120, 74}, false, 192), (Rect{120, 40, 278, 80}));
  EXPECT_EQ(MenuShortcutBox(big, {150, 46, 256, 74}, true, 144), (Rect{17, 40, 150, 80}));
  EXPECT_EQ(MenuCaptionTop(item, 13), 23);
}

TEST(MenuItemLayout, CaptionColoursStayReadable) {
  const Colour white = Rgb(255, 255, 255), black = Rgb(0, 0, 0), blue = Rgb(0, 0, 128), grey = Rgb(128, 128, 128);
  const MenuColours normal{white, black, blue, white, grey, Rgb(109, 109, 109)};
  EXPECT_EQ(MenuCaptionColour(normal, true, false), black);
  EXPECT_EQ(MenuCaptionColour(normal, true, true), white);
  EXPECT_EQ(MenuCaptionColour(normal, false, true), grey);
  MenuColours shadowIsText = normal;
  shadowIsText.buttonShadow = black;
  EXPECT_EQ(MenuCaptionColour(shadowIsText, false, false), Rgb(109, 109, 109)) << "grey text instead";
  MenuColours unreadable = normal;
  unreadable.menuText = white;  // white on white
  unreadable.hilightText = blue;  // blue on blue
  EXPECT_EQ(MenuCaptionColour(unreadable, true, false), black);
  EXPECT_EQ(MenuCaptionColour(unreadable, true, true), white);
}

TEST(MenuItemLayout, ASeparatorTakesTheBottomRowsOfTheSecondCell) {
  // Five 10 x 18 cells; the second has row y coloured y, columns 0-1 and
  // 8-9 its ends (red), magenta in row 17.
  Surface picture(50, 18, 0xFF000000);
  for (int y = 0; y < 18; ++y)
    for (int x = 10; x < 20; ++x)
      picture.At(x, y) = (x < 12 || x >= 18) ? 0xFFFF0000 : 0xFF000000 | static_cast<Pixel>(y);
  for (int x = 10; x < 20; ++x) picture.At(x, 17) = PixelFromColour(kColourKey);
  Surface canvas(40, 8, 0xFF00FF00);
  DrawMenuSeparator(canvas.View(), {0, 0, 40, 8}, picture, 5, 2, 2);
  for (int y = 0; y < 7; ++y) {
    EXPECT_EQ(canvas.At(20, y), 0xFF000000 | static_cast<Pixel>(10 + y)) << "row " << y << " from row " << 10 + y;
    EXPECT_EQ(canvas.At(1, y), 0xFFFF0000u) << "left end unscaled";
    EXPECT_EQ(canvas.At(38, y), 0xFFFF0000u) << "right end unscaled";
  }
  EXPECT_EQ(canvas.At(20, 7), 0xFF00FF00u) << "magenta leaves the background";
}

// Five 10 x 18 cells, each a different grey with magenta corners, so a
// wrong cell, a wrong cut or a lost key shows.
Surface FiveCellPicture() {
  Surface picture(50, 18);
  for (int cell = 0; cell < 5; ++cell)
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool corner = (x == 0 || x == 9) && (y == 0 || y == 17);
        picture.At(cell * 10 + x, y) =
            corner ? PixelFromColour(kColourKey) : 0xFF000000 | static_cast<Pixel>(0x101010 * (cell + 1) + x + y);
      }
  return picture;
}

TEST(MenuItemPictures, AKeptPictureLaidOverTheMenuGivesWhatDrawingTheCellThereGives) {
  const Surface picture = FiveCellPicture();
  const MenuItemPictureSource source{&picture, 5, {2, 3, 2, 3}, false, true};
  const Pixel menu = 0xFF336699;
  struct Case {
    MenuItemPictureKind kind;
    int cell;
  };
  for (Case c : {Case{MenuItemPictureKind::Normal, 1}, Case{MenuItemPictureKind::Hot, 4}}) {
    Surface direct(120, 22, menu);
    DrawElement(direct.View(), {0, 0, 120, 22}, picture, false, false, true, 5, c.cell, {2, 3, 2, 3});
    Surface kept(120, 22, menu);
    Surface composed = ComposeMenuItemPicture(source, 120, 22, c.kind);
    StretchCopyKeyed(kept.View(), {0, 0, 120, 22}, composed.View(), {0, 0, 120, 22}, kColourKey);
    EXPECT_EQ(kept, direct) << "cell " << c.cell;
    EXPECT_EQ(kept.At(0, 0), menu) << "the corner's magenta lets the menu through";
  }
  Surface direct(120, 8, menu), kept(120, 8, menu);
  DrawMenuSeparator(direct.View(), {0, 0, 120, 8}, picture, 5, 2, 2);
  Surface composed = ComposeMenuItemPicture(source, 120, 8, MenuItemPictureKind::Separator);
  StretchCopyKeyed(kept.View(), {0, 0, 120, 8}, composed.View(), {0, 0, 120, 8}, kColourKey);
  EXPECT_EQ(kept, direct) << "separator";
}

TEST(MenuItemPictures, OnePicturePerSizeAndKindUntilTheSkinChangesAndNeverMoreThanTheLimit) {
  const Surface picture = FiveCellPicture();
  const MenuItemPictureSource source{&picture, 5, {2, 3, 2, 3}, false, true};
  MenuItemPictures pictures;
  // A 300-item menu of one item size paints from two pictures.
  for (int item = 0; item < 300; ++item)
    pictures.Get(1, source, 150, 22, item % 7 == 3 ? MenuItemPictureKind::Hot : MenuItemPictureKind::Normal);
  EXPECT_EQ(pictures.Composed(), 2);
  EXPECT_EQ(pictures.Count(), 2u);
  const Surface& hot = pictures.Get(1, source, 150, 22, MenuItemPictureKind::Hot);
  EXPECT_EQ(hot, ComposeMenuItemPicture(source, 150, 22, MenuItemPictureKind::Hot));

  pictures.Get(2, source, 150, 22, MenuItemPictureKind::Hot);
  EXPECT_EQ(pictures.Count(), 1u) << "a new skin load drops the old pictures";
  EXPECT_EQ(pictures.Composed(), 3);

  for (int width = 100; width < 100 + 3 * static_cast<int>(MenuItemPictures::kLimit); ++width)
    pictures.Get(2, source, width, 22, MenuItemPictureKind::Normal);
  EXPECT_EQ(pictures.Count(), MenuItemPictures::kLimit);
  const int composed = pictures.Composed();
  pictures.Get(2, source, 100 + 3 * static_cast<int>(MenuItemPictures::kLimit) - 1, 22, MenuItemPictureKind::Normal);
  EXPECT_EQ(pictures.Composed(), composed) << "the last one used is still kept";
  pictures.Get(2, source, 100, 22, MenuItemPictureKind::Normal);
  EXPECT_EQ(pictures.Composed(), composed + 1) << "the least recently used went first";
}

TEST(MenuItemPictures, APopupWindowsPictureIsKeptApartFromItemsAndOutlivesTheCacheForItsHolder) {
  const Surface items = FiveCellPicture();
  const MenuItemPictureSource itemSource{&items, 5, {2, 3, 2, 3}, false, true};
  Surface ground(10, 10, 0xFF203040);
  ground.At(0, 0) = PixelFromColour(kColourKey);  // no colour is left out of a window's picture
  const MenuItemPictureSource windowSource{&ground, 1, {3, 3, 3, 3}, false, false};
  MenuItemPictures pictures;
  std::shared_ptr<const Surface> window = pictures.Share(1, windowSource, 150, 22, MenuItemPictureKind::Window);
  EXPECT_EQ(*window, BuildElementBitmap({0, 0, 150, 22}, ground, {3, 3, 3, 3}, false, false, 1, 1));
  EXPECT_EQ(pictures.Get(1, itemSource, 150, 22, MenuItemPictureKind::Normal),
            ComposeMenuItemPicture(itemSource, 150, 22, MenuItemPictureKind::Normal))
      << "an item of the window's size has its own picture";
  EXPECT_EQ(pictures.Share(1, windowSource, 150, 22, MenuItemPictureKind::Window), window) << "the next opening";
  EXPECT_EQ(pictures.Composed(), 2);

  // Long windows: the pixel limit lets the least recently used go, never the
  // one just asked for, and a holder keeps its picture whole.
  const int tall = static_cast<int>(MenuItemPictures::kPixelLimit / 200);
  std::shared_ptr<const Surface> first = pictures.Share(1, windowSource, 200, tall * 2 / 3, MenuItemPictureKind::Window);
  std::shared_ptr<const Surface> second = pictures.Share(1, windowSource, 201, tall * 2 / 3, MenuItemPictureKind::Window);
  EXPECT_LE(pictures.Pixels(), MenuItemPictures::kPixelLimit);
  EXPECT_EQ(pictures.Count(), 1u);
  EXPECT_EQ(*first, BuildElementBitmap({0, 0, 200, tall * 2 / 3}, ground, {3, 3, 3, 3}, false, false, 1, 1));
  std::shared_ptr<const Surface> huge = pictures.Share(1, windowSource, 200, tall * 2, MenuItemPictureKind::Window);
  EXPECT_EQ(pictures.Count(), 1u) << "a picture over the limit alone is still kept while asked for";
  EXPECT_EQ(pictures.Share(1, windowSource, 200, tall * 2, MenuItemPictureKind::Window), huge);
  EXPECT_EQ(*second, BuildElementBitmap({0, 0, 201, tall * 2 / 3}, ground, {3, 3, 3, 3}, false, false, 1, 1));
}

}  // namespace
}  // namespace corvane
