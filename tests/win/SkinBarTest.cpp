// Tool bars, band containers, frames and button glyph sources, skinned for
// real on the gallery's bar form: the tool bar's background and button
// cells come from the skin's pictures and its menus are the skin's, a band
// container's bands take the face colour and get it back, a frame's own
// controls are skinned, and a bitmap button's glyph comes from a picture
// file or an image list, greyed when only its normal image exists.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "BarGallery.h"
#include "FrameworkTestSupport.h"
#include "PngWriter.h"
#include "SkinTestSupport.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/Panels.h"
#include "framework/StdCtrls.h"
#include "framework/ToolBars.h"
#include "skin/controls/WinSkinBars.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinManage.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

int CountColour(const Surface& shot, const Rect& r, Colour c, int tolerance = 0) {
  int n = 0;
  for (int y = std::max(r.top, 0); y < std::min(r.bottom, shot.Height()); ++y)
    for (int x = std::max(r.left, 0); x < std::min(r.right, shot.Width()); ++x) {
      Pixel p = shot.At(x, y);
      int dr = std::abs(static_cast<int>((p >> 16) & 0xFF) - static_cast<int>(RedOf(c)));
      int dg = std::abs(static_cast<int>((p >> 8) & 0xFF) - static_cast<int>(GreenOf(c)));
      int db = std::abs(static_cast<int>(p & 0xFF) - static_cast<int>(BlueOf(c)));
      n += dr <= tolerance && dg <= tolerance && db <= tolerance;
    }
  return n;
}


class SkinnedBars : public ::testing::Test {
 protected:
  void SetUp() override {
    FreshStart();
    folder = std::make_unique<test::TempFolder>();
    picture = folder->File("glyph.png");
    // A 12 x 12 orange square, its corners transparent.
    ASSERT_TRUE(test::WritePng(picture, 12, 12, [](int x, int y) -> std::uint32_t {
      bool corner = (x < 2 || x > 9) && (y < 2 || y > 9);
      return corner ? 0x00000000u : 0xFFFF8000u;
    }));
    data = &ActiveSkinData();
    // Tool-bar backgrounds are drawn only without this option.
    data->Options.Exclude(xoToolbarBK);
    gallery = CreateBarGallery(picture.c_str());
    ASSERT_TRUE(ShowAndAwaitSkin(*gallery.form));
    window = gallery.form->Handle();
  }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }
  TWinSkinForm* FormSkin() { return TSkinManage::Instance()->FindFormSkin(window); }
  Colour SkinColour(int index) { return ResolveColour(data->Skin().Colours[index], data->Skin().System()); }
  void WhileOpen(const std::function<void()>& open, std::function<bool(HWND)> step) {
    WhileMenuOpen(open, std::move(step));
  }
  // The bar's client area as the screen shows it.
  Surface Shot(TWinControl& control) {
    Pump();
    return CaptureSettled(control.Handle());
  }

  std::unique_ptr<test::TempFolder> folder;
  std::string picture;
  TSkinData* data = nullptr;
  BarGallery gallery;
  HWND window = nullptr;
};

TEST_F(SkinnedBars, AToolBarIsFlatAndDrawnFromTheSkinsToolbarAndButtonPictures) {
  TToolBar& tools = *gallery.tools;
  auto* skin = SkinOf<TSkinToolBar>(tools);
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(tools.Flat());
  EXPECT_TRUE(skin->PaintsBackground());
  EXPECT_TRUE(skin->PaintsButtons());

  // The background right of the last button is the skin's tool-bar picture
  // stretched over the bar: each row has the colour of its picture row.
  const Surface& gradient = data->Skin().Toolbar->Bitmap;
  RECT client{};
  GetClientRect(tools.Handle(), &client);
  RECT last = tools.ButtonRect(tools.ButtonCount() - 1);
  Surface shot = Shot(tools);
  int rowsMatching = 0;
  for (int y = 0; y < client.bottom; ++y) {
    Pixel expected = gradient.At(gradient.Width() / 2, y * gradient.Height() / client.bottom);
    rowsMatching += CountColour(shot, {last.right + 4, y, client.right - 2, y + 1}, ColourFromPixel(expected), 2) ==
                    client.right - 2 - (last.right + 4);
  }
  EXPECT_GE(rowsMatching, client.bottom - 2) << "the gradient, row by row";

  // A hot button stands on the skin's hot button cell (cell 4 of 5).
  SendMessageA(tools.Handle(), TB_SETHOTITEM, kBarNew, 0);
  RECT hot = tools.ButtonRect(kBarNew);
  const TDataSkinButton& b = data->Skin().Buttons;
  Surface cell = BuildElementBitmap({0, 0, hot.right - hot.left - 2, hot.bottom - hot.top - 2}, b.Bitmap,
                                    {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight}, false, false, 5, 4);
  shot = Shot(tools);
  // The cell's top edge row, where no image or caption lies.
  int same = 0;
  for (int x = 4; x < cell.Width() - 4; ++x) same += SameColour(shot.At(hot.left + 1 + x, hot.top + 1), ColourFromPixel(cell.At(x, 0)));
  EXPECT_GE(same, cell.Width() - 10) << "the hot cell's edge";
  // The image list's picture is still drawn on it.
  EXPECT_GT(CountColour(shot, {hot.left, hot.top, hot.right, hot.bottom}, kBarImageColours[0]), 50);
  SendMessageA(tools.Handle(), TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);

  // Unskinned, the bar has its own look and flatness back.
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(tools.Flat());
  EXPECT_FALSE(tools.OnCustomDraw);
  EXPECT_FALSE(tools.OnCustomDrawButton);
}

TEST_F(SkinnedBars, AToolBarsMenusAreTheSkinsAndTheirItemsAct) {
  TToolBar& tools = *gallery.tools;
  // The menu owned by the tool bar itself is painted by the skin while the
  // bar is skinned; the form's own menu by the form skin.
  EXPECT_TRUE(gallery.moreMenu->OwnerDraw);
  EXPECT_TRUE(gallery.openMenu->OwnerDraw);
  bool skinned = false;
  WhileOpen([&] { tools.ClickButton(kBarMore); }, [&](HWND menu) {
    skinned = SendMessageA(menu, WM_SKINQUERY, 0, 0) == 1;
    PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    return true;
  });
  EXPECT_TRUE(skinned) << "the popup window is the skin's";
  EXPECT_TRUE(PumpUntil([&] { return gallery.chosen->Text() == "&Settings"; })) << gallery.chosen->Text();

  // The drop-down arrow of Open opens its menu: a press on the arrow.
  RECT open = tools.ButtonRect(kBarOpen);
  WhileOpen(
      [&] {
        SendMessageA(tools.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(open.right - 4, (open.top + open.bottom) / 2));
        SendMessageA(tools.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(open.right - 4, (open.top + open.bottom) / 2));
      },
      [&](HWND menu) {
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        return true;
      });
  EXPECT_TRUE(PumpUntil([&] { return gallery.chosen->Text() == "Open &folder"; })) << gallery.chosen->Text();
  // The disabled button does nothing; the bar without images still acts.
  tools.ClickButton(kBarPrint);
  EXPECT_EQ(gallery.chosen->Text(), "Open &folder");
  gallery.crowded->ClickButton(7);
  EXPECT_EQ(gallery.chosen->Text(), "Eight");

  // Unskinned, the tool bar's own menu is its own again.
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(gallery.moreMenu->OwnerDraw);
  EXPECT_FALSE(gallery.moreMenu->OnDrawItem);
}

TEST_F(SkinnedBars, BandsTakeTheFaceColourAndFramesHaveTheirControlsSkinned) {
  TCoolBar& bands = *gallery.bands;
  ASSERT_NE(SkinOf<TSkinBandBar>(bands), nullptr);
  const Colour face = SkinColour(SkinDefinition::kButtonFace);
  for (int i = 0; i < bands.BandCount(); ++i) {
    EXPECT_EQ(bands.BandColor(i), face) << i;
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_COLORS;
    SendMessageA(bands.Handle(), RB_GETBANDINFOA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.clrBack, ColorToRGB(face)) << "the window's band " << i;
  }
  // The band container's controls are skinned by their own rows.
  EXPECT_EQ(SendMessageA(bands.Controls(0)->InheritsFrom("TWinControl")
                             ? static_cast<TWinControl*>(bands.Controls(0))->Handle()
                             : nullptr,
                         WM_SKINQUERY, 0, 0),
            1);
  // A frame owns its controls: they are skinned all the same.
  EXPECT_EQ(SendMessageA(gallery.frameButton->Handle(), WM_SKINQUERY, 0, 0), 1);
  EXPECT_NE(SkinOf<TSkinButton>(*gallery.frameButton), nullptr);

  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  for (int i = 0; i < bands.BandCount(); ++i) EXPECT_EQ(bands.BandColor(i), clBtnFace) << i;
  EXPECT_EQ(SendMessageA(gallery.frameButton->Handle(), WM_SKINQUERY, 0, 0), 0);
}

TEST_F(SkinnedBars, GlyphsComeFromAPictureFileOrTheImageListGreyedWithoutADisabledImage) {
  const Colour orange = 0x0080FF;
  const Colour red = kBarImageColours[0], green = kBarImageColours[1], blue = kBarImageColours[2];
  auto inside = [](TWinControl& c) { return Rect{0, 0, c.Width(), c.Height()}; };

  Surface shot = Shot(*gallery.pictureGlyph);
  EXPECT_GE(CountColour(shot, inside(*gallery.pictureGlyph), orange, 2), 12 * 12 - 4 * 4 - 8)
      << "the PNG picture, its transparent corners left out";
  shot = Shot(*gallery.listGlyph);
  EXPECT_EQ(CountColour(shot, inside(*gallery.listGlyph), red), 12 * 12) << "image 0 of the list";

  // Disabled with only the normal image: its shape embossed in the system's
  // highlight and shadow colours, none of its own colour.
  shot = Shot(*gallery.listGlyphOff);
  EXPECT_EQ(CountColour(shot, inside(*gallery.listGlyphOff), green), 0);
  const Colour shadow = static_cast<Colour>(GetSysColor(COLOR_BTNSHADOW));
  Rect glyphArea{0, 0, gallery.listGlyphOff->Width() / 2, gallery.listGlyphOff->Height()};
  EXPECT_GE(CountColour(shot, glyphArea, shadow), 12 * 12 - 24) << "the embossed square";
  // Disabled with a disabled image of its own: that image.
  shot = Shot(*gallery.listGlyphOwnOff);
  EXPECT_EQ(CountColour(shot, inside(*gallery.listGlyphOwnOff), blue), 12 * 12);
}

TEST_F(SkinnedBars, AGlyphPictureThatCannotBeLoadedLeavesThePlainButton) {
  TBitBtn& button = *gallery.pictureGlyph;
  button.SetPngImage(folder->File("missing.png"));
  std::string damaged = folder->File("damaged.png");
  HANDLE h = CreateFileA(damaged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "\x89PNG\r\n\x1a\nrubbish", 16, &written, nullptr);
  CloseHandle(h);
  for (const std::string& name : {folder->File("missing.png"), damaged}) {
    button.SetPngImage(name);
    button.Invalidate();
    Surface shot = Shot(button);
    EXPECT_EQ(CountColour(shot, {0, 0, button.Width(), button.Height()}, 0x0080FF, 2), 0) << name;
    EXPECT_EQ(SendMessageA(button.Handle(), WM_SKINQUERY, 0, 0), 1) << "still skinned";
  }
}

TEST_F(SkinnedBars, TwoHundredSkinCyclesOfTheBarFormLeaveHandleCountsFlat) {
  auto cycle = [&] {
    SkinCycle(*data);
    PumpUntil([&] { return FormSkin() && FormSkin()->FrameState() == kFrameActive; });
  };
  cycle();
  const HandleCounts before = CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  ExpectHandleCountsKept(before, 2);
  ASSERT_NE(FormSkin(), nullptr);
  EXPECT_NE(SkinOf<TSkinToolBar>(*gallery.tools), nullptr);
  EXPECT_TRUE(gallery.tools->Flat());
}

// A skin without a button picture: the tool bar keeps the system's button
// look (its background is the skin's generated gradient either way).
TEST(SkinnedBarEdges, ASkinWithoutButtonPicturesLeavesTheSystemsButtons) {
  FreshStart();
  TSkinData& data = ActiveSkinData(AlteredSkin({}, [](std::string& ini) {
    std::size_t at = ini.find("[Buttons]");
    if (at != std::string::npos) ini.replace(at, 9, "[NoButtons]");
  }));
  BarGallery gallery = CreateBarGallery("");
  ASSERT_TRUE(ShowAndAwaitSkin(*gallery.form));
  ASSERT_TRUE(data.Skin().Buttons.Bitmap.IsEmpty());
  HDC dc = GetDC(gallery.tools->Handle());
  RECT r = gallery.tools->ButtonRect(kBarNew);
  EXPECT_FALSE(gallery.tools->OnCustomDrawButton(gallery.tools, dc, r, CDIS_HOT));
  ReleaseDC(gallery.tools->Handle(), dc);
  SendMessageA(gallery.tools->Handle(), TB_SETHOTITEM, kBarNew, 0);
  Pump();
  gallery.tools->ClickButton(kBarNew);
  EXPECT_EQ(gallery.chosen->Text(), "New");
  ResetApplication();
  TSkinManage::Destroy();
}

}  // namespace
}  // namespace corvane
