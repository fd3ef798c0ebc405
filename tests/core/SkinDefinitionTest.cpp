#include <gtest/gtest.h>

#include "SkinTestFiles.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinLoad.h"

namespace corvane {
namespace {

using skintest::Bmp24;
using skintest::Parse;
using skintest::Tagged;

const SystemColourProvider& Sys() { return DefaultSystemColours(); }

TEST(SkinColourValue, ThreeNumbersModuloAndSeparators) {
  Colour c = -5;
  ASSERT_TRUE(SkinDefinition::ParseColourValue("227 226 236", c));
  EXPECT_EQ(c, 0x00ECE2E3);
  // A lone number ends the value without a separator after it: black.
  ASSERT_TRUE(SkinDefinition::ParseColourValue("200", c));
  EXPECT_EQ(c, 0);
  ASSERT_TRUE(SkinDefinition::ParseColourValue("10 20", c));
  EXPECT_EQ(c, Rgb(10, 0, 0));
  ASSERT_TRUE(SkinDefinition::ParseColourValue("1,2;3,4 5", c));
  EXPECT_EQ(c, Rgb(1, 2, 3));
  ASSERT_TRUE(SkinDefinition::ParseColourValue("300 256 99999999999999999999", c));
  // 10^20 - 1 is 255 modulo 256; long digit runs must not overflow.
  EXPECT_EQ(c, Rgb(44, 0, 255));
  ASSERT_TRUE(SkinDefinition::ParseColourValue("  -5 x7 8  ", c));
  EXPECT_EQ(c, Rgb(5, 7, 8));
  c = 123;
  EXPECT_FALSE(SkinDefinition::ParseColourValue("   ", c));
  EXPECT_EQ(c, 123);
}

TEST(SkinColourTable, GivenKeysDefaultsAndExtraSections) {
  SkinDefinition skin;
  MemorySkinFiles files;
  Parse(skin,
        "[Colours]\n"
        "ButtonFace=227 226 236\n"
        "Hilight=200\n"
        "MenuText=\n"
        "[ColourEdit]\ncolor=1 2 3\n"
        "[Colours]\nWindowText=9 9 9\n"
        "[COLOURLIST]\n"
        "[Customcolors]\nColor0=10 20 30\nColor9=0 0 0\n",
        files);
  EXPECT_EQ(skin.Colours[SkinDefinition::kButtonFace], 0x00ECE2E3);
  EXPECT_EQ(skin.ColourDefined[SkinDefinition::kButtonFace], 1);
  // The menu bar follows the skin's face colour when not given.
  EXPECT_EQ(skin.Colours[SkinDefinition::kMenubar], 0x00ECE2E3);
  EXPECT_EQ(skin.ColourDefined[SkinDefinition::kMenubar], 0);
  EXPECT_EQ(skin.Colours[SkinDefinition::kHilight], 0);
  EXPECT_EQ(skin.ColourDefined[SkinDefinition::kHilight], 1);
  EXPECT_EQ(skin.Colours[SkinDefinition::kMenuText], Sys().SysColour(kSysMenuText));
  EXPECT_EQ(skin.ColourDefined[SkinDefinition::kMenuText], 0);
  // The second [Colours] section is never consulted.
  EXPECT_EQ(skin.Colours[SkinDefinition::kWindowText], Sys().SysColour(kSysWindowText));
  EXPECT_EQ(skin.Colours[SkinDefinition::kButtonlight], Sys().SysColour(kSysButtonHighlight));
  EXPECT_EQ(skin.Colours[SkinDefinition::kScrollbar], Sys().SysColour(kSysScrollbar));
  EXPECT_EQ(skin.ColourSections,
            (std::vector<Colour>{Rgb(1, 2, 3), Sys().SysColour(kSysWindowText)}));
  EXPECT_EQ(skin.CustomColors[0], Rgb(10, 20, 30));
  EXPECT_EQ(skin.CustomColors[5], 0xFFFFFF);
  EXPECT_EQ(skin.CustomColors[9], 0);
  EXPECT_FALSE(skin.SkinEmpty);
}

TEST(SkinElements, ReadersDefaultsAndTileRules) {
  MemorySkinFiles files;
  files.Add("a.bmp", Bmp24(Tagged(20, 6, 1)));
  files.Add("tab.bmp", Bmp24(Tagged(30, 6, 2)));
  files.Add("border.bmp", Bmp24(Tagged(8, 2, 3)));
  SkinDefinition skin;
  Parse(skin,
        "[Colours]\nButtonText=1 2 3\n"
        "[MenuItem]\nImage=A.bmp\nTile=2\nTopHeight = 3\nNormalColour=255\nPressedColour2=4 5 6\n"
        "[Progress]\nBitmap=a.bmp\nTile=2\nStyle=0\n"
        "[Tabs]\nImage=Tab.bmp\nBorder=Border.bmp\nFrame=9\n"
        "[Tab.Pane]\nImage=a.bmp\nLeftWidth=10\nTopHeight=2\n"
        "[Headerbar]\nImage=a.bmp\n"
        "[HorzScrollThumb]\nImage=a.bmp\nFrameCount=4\n"
        "[VertScrollThumb]\nImage=a.bmp\n"
        "[Progress.Chunk]\nImage=a.bmp\n"
        "[GroupBox]\nImage=a.bmp\nBackgroundRightShift=7\n"
        "[Personality]\nTop=a.bmp\nTopStretch=2\nTopTopHeight=11\nTopBotHeight=12\nLeftTopHeight=25\n"
        "TextShift=16\nTextRightClip=77\nActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=9\n"
        "[Fonts]\nFontHeight=11\n",
        files);
  ASSERT_TRUE(skin.MenuItem);
  EXPECT_EQ(skin.MenuItem->Name, "MenuItem");
  EXPECT_EQ(skin.MenuItem->Tile, 0);
  EXPECT_EQ(skin.MenuItem->TopHeight, 3);
  EXPECT_EQ(skin.MenuItem->Frame, 5);
  EXPECT_EQ(skin.MenuItem->NormalColour, 255);
  EXPECT_EQ(skin.MenuItem->MouseOverColour, -1);
  EXPECT_EQ(skin.MenuItem->NormalColour2, Rgb(1, 2, 3));
  EXPECT_EQ(skin.MenuItem->PressedColour2, Rgb(4, 5, 6));
  EXPECT_EQ(skin.MenuItem->Bitmap, Tagged(20, 6, 1));

  ASSERT_TRUE(skin.Progress);
  EXPECT_EQ(skin.Progress->Tile, 1);
  EXPECT_EQ(skin.Progress->Frame, 2);
  ASSERT_TRUE(skin.Tabs);
  EXPECT_EQ(skin.Tabs->Frame, 5);
  EXPECT_EQ(skin.Tabs->Bitmap2, Tagged(8, 2, 3));
  ASSERT_TRUE(skin.TabPane);
  EXPECT_EQ(skin.TabPane->LeftWidth, 4);
  EXPECT_EQ(skin.TabPane->TopHeight, 2);
  EXPECT_EQ(skin.Headerbar->Frame, 5);
  EXPECT_EQ(skin.HorzScrollThumb->Frame, 4);
  EXPECT_EQ(skin.VertScrollThumb->Frame, 3);
  EXPECT_EQ(skin.ProgressChunk->Frame, 0);
  ASSERT_TRUE(skin.GroupBox);
  EXPECT_EQ(skin.GroupBox->BackgroundRightShift, 7);
  EXPECT_EQ(skin.GroupBox->Frame, 1);

  EXPECT_EQ(skin.BorderTop.Tile, 1);
  EXPECT_EQ(skin.BorderTop.LeftWidth, 11);
  EXPECT_EQ(skin.BorderTop.RightWidth, 12);
  EXPECT_EQ(skin.BorderTop.TopHeight, 0);
  EXPECT_EQ(skin.BorderTop.Trans, 1);
  EXPECT_EQ(skin.BorderTop.Frame, 1);
  EXPECT_EQ(skin.BorderLeft.TopHeight, 25);
  EXPECT_EQ(skin.BorderLeft.LeftWidth, 0);
  EXPECT_TRUE(skin.BorderLeft.Bitmap.IsEmpty());

  EXPECT_EQ(skin.Title.LeftWidth, 16);
  EXPECT_EQ(skin.Title.RightWidth, 77);
  EXPECT_EQ(skin.Title.FontHeight, 11);
  EXPECT_EQ(skin.Title.Frame, 2);
  EXPECT_EQ(skin.Title.ActiveTextColour, Rgb(1, 2, 3));
  EXPECT_EQ(skin.Title.InactiveTextColour, TDataSkinTitle::kNoColour);

  // Sections that name no picture leave their slots empty.
  EXPECT_FALSE(skin.MenuBar);
  EXPECT_FALSE(skin.SunkEdge);
  EXPECT_FALSE(skin.ComboButton);
  EXPECT_FALSE(skin.TrackThumbUp);
}

TEST(SkinElements, PictureFetchRule) {
  MemorySkinFiles files;
  files.Add("pic.bmp", Bmp24(Tagged(4, 4, 7)));
  files.Add("broken.bmp", {'B', 'M', 1, 2, 3});
  files.Add("pic.png", Bmp24(Tagged(4, 4, 7)));
  SkinDefinition skin;
  Parse(skin,
        "[MenuItem]\nImage=skins\\old\\PIC.bmp\n"
        "[MenuBackground]\nImage=pic.BMP\n"
        "[Scrollbar]\nImage=missing.bmp\n"
        "[HorzScroll]\nImage=broken.bmp\n"
        "[VertScroll]\nImage=pic.png\n"
        "[ExtraImages]\nImage=skins\\\n",
        files);
  EXPECT_EQ(skin.MenuItem->Bitmap, Tagged(4, 4, 7));
  // The record exists, without a picture, for every other case.
  for (auto* e : {skin.MenuBackground.get(), skin.Scrollbar.get(), skin.HorzScroll.get(),
                  skin.VertScroll.get(), skin.ExtraImages.get()}) {
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->Bitmap.IsEmpty()) << e->Name;
  }
}

TEST(SkinButtons, CheckAndRadioFramesAndColourFlags) {
  MemorySkinFiles files;
  files.Add("check.bmp", Bmp24(Tagged(156, 13, 1)));
  files.Add("radio.bmp", Bmp24(Tagged(128, 16, 2)));
  files.Add("buttons.bmp", Bmp24(Tagged(130, 21, 3)));
  SkinDefinition skin;
  Parse(skin,
        "[Buttons]\nBitmap=Buttons.bmp\nCheckButton=Check.bmp\nRadioButton=Radio.bmp\n"
        "CheckButtonFrame=12\nTile=3\nMouseOverColour2=7 7 7\nNormalColour2=\n",
        files);
  EXPECT_EQ(skin.Buttons.Frame, 5);
  EXPECT_EQ(skin.Buttons.CheckFrame, 12);
  EXPECT_EQ(skin.Buttons.RadioFrame, 8);  // 128 div 16, the picture being 16 high
  EXPECT_EQ(skin.Buttons.Tile, 0);
  EXPECT_EQ(skin.Buttons.HasMouseOverColour2, 1);
  EXPECT_EQ(skin.Buttons.HasNormalColour2, 0);
  EXPECT_EQ(skin.Buttons.MouseOverColour2, Rgb(7, 7, 7));
  EXPECT_EQ(skin.Buttons.NormalColour2, Sys().SysColour(kSysButtonText));

  SkinDefinition guessed;
  Parse(guessed, "[Buttons]\nCheckButton=Check.bmp\n", files);
  EXPECT_EQ(guessed.Buttons.CheckFrame, 12);  // 156 div 13
  EXPECT_EQ(guessed.Buttons.RadioFrame, 4);   // no picture: at least 4
  EXPECT_TRUE(guessed.Buttons.Bitmap.IsEmpty());
}

TEST(SkinCaptionButtons, SelectionFrameGuessAndSharedPosition) {
  MemorySkinFiles files;
  files.Add("six.bmp", Bmp24(Tagged(102, 17, 1)));
  files.Add("three.bmp", Bmp24(Tagged(51, 17, 2)));
  files.Add("edge.bmp", Bmp24(Tagged(19, 5, 3)));  // exactly 3.8
  SkinDefinition skin;
  Parse(skin,
        "[Buttons]\n[BUTTON.CHECKBOX]\n[button.radio]\n[Button]\n"
        "[Button4]\nAction=4\nXCoord=1\nYCoord=1\n"
        "[Button0]\nButtonImage=Six.bmp\nXCoord=30\nYCoord=5\nAlign=1\n"
        "[Button1]\nButtonImage=Three.bmp\nAction=1\nVisibility=2\nXcoord=49\nYcoord=6\n"
        "[Button2]\nButtonImage=Edge.bmp\nAction=4\nXCoord=99\nYCoord=99\n"
        "[ButtonGone]\nAction=-1\n"
        "[ButtonKept]\nAction=-1\nVisibility=0\nButtonImage=Three.bmp\n"
        "[BUTTON7]\nAction=3\nButtonImage=Six.bmp\n"
        "[Button8]\nAction=11\nButtonImage=Six.bmp\nframe=2\n",
        files);
  ASSERT_EQ(skin.SkinButtonCount(), 7);
  ASSERT_EQ(skin.CaptionButtons.size(), 10u);
  const auto& b = skin.CaptionButtons;
  EXPECT_EQ(b[0]->Name, "BUTTON4");
  // Before any maximise button an action-4 button keeps its own place.
  EXPECT_EQ(b[0]->XCoord, 1);
  EXPECT_EQ(b[1]->Name, "BUTTON0");
  EXPECT_EQ(b[1]->Frame, 6);
  EXPECT_EQ(b[1]->Align, 1);
  EXPECT_EQ(b[1]->CombineOp, -1);
  EXPECT_EQ(b[1]->Visibility1, 0);
  EXPECT_EQ(b[2]->Frame, 3);
  EXPECT_EQ(b[3]->Frame, 3);
  EXPECT_EQ(b[3]->XCoord, 49);
  EXPECT_EQ(b[3]->YCoord, 6);
  EXPECT_EQ(b[4]->Name, "BUTTONKEPT");
  EXPECT_EQ(b[4]->Frame, 6);  // negative action: always 6
  EXPECT_EQ(b[4]->Visibility1, -1);
  EXPECT_EQ(b[5]->Name, "BUTTON7");
  EXPECT_TRUE(b[5]->Bitmap.IsEmpty());
  // With a frame key the picture of an action-11 button stays.
  EXPECT_EQ(b[6]->Frame, 2);
  EXPECT_FALSE(b[6]->Bitmap.IsEmpty());
  for (int i = 0; i < 3; ++i) {
    const auto& mdi = *b[7 + static_cast<std::size_t>(i)];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.Visibility1, 100);
    EXPECT_EQ(mdi.Frame, 4);
    EXPECT_TRUE(mdi.Bitmap.IsEmpty());
  }
}

TEST(SkinCaptionButtons, MdiButtonsCutFromOnePicture) {
  MemorySkinFiles files;
  files.Add("mdi.bmp", Bmp24(Tagged(156, 13, 5)));
  SkinDefinition skin;
  Parse(skin, "[MDICONTROLS]\nImage=Mdi.bmp\n", files);
  ASSERT_EQ(skin.SkinButtonCount(), 0);
  const int expectedX[] = {51, 34, 17};
  for (int i = 0; i < 3; ++i) {
    const auto& mdi = *skin.CaptionButtons[static_cast<std::size_t>(i)];
    ASSERT_EQ(mdi.Bitmap.Width(), 52);
    ASSERT_EQ(mdi.Bitmap.Height(), 13);
    EXPECT_EQ(mdi.XCoord, expectedX[i]);
    EXPECT_EQ(mdi.Bitmap.At(0, 0), Tagged(156, 13, 5).At(52 * i, 0));
    EXPECT_EQ(mdi.Bitmap.At(51, 12), Tagged(156, 13, 5).At(52 * i + 51, 12));
  }
}

TEST(SkinTrack, BuiltInPicturesWhenTheSkinHasNone) {
  MemorySkinFiles files;
  files.Add("t.bmp", Bmp24(Tagged(10, 5, 1)));
  SkinDefinition skin;
  Parse(skin, "[TRACKVERT]\nImage=t.bmp\nFrame=1\nLeftWidth=2\n", files);
  ASSERT_TRUE(skin.Track);
  EXPECT_EQ(skin.Track->Name, "TRACK");
  ASSERT_EQ(skin.Track->Bitmap.Width(), 16);
  ASSERT_EQ(skin.Track->Bitmap.Height(), 4);
  EXPECT_EQ(skin.Track->Frame, 1);
  EXPECT_EQ(skin.Track->BottomHeight, 3);
  const Pixel S = PixelFromColour(0xC0C0C0), G = PixelFromColour(0x808080),
              H = PixelFromColour(0xFFFFFF);
  EXPECT_EQ(skin.Track->Bitmap.At(0, 0), S);
  EXPECT_EQ(skin.Track->Bitmap.At(2, 0), G);
  EXPECT_EQ(skin.Track->Bitmap.At(14, 0), H);
  EXPECT_EQ(skin.Track->Bitmap.At(0, 2), G);
  EXPECT_EQ(skin.Track->Bitmap.At(1, 3), S);
  // The skin's own vertical track is used as given.
  EXPECT_EQ(skin.TrackVert->Name, "TRACKVERT");
  EXPECT_EQ(skin.TrackVert->Bitmap, Tagged(10, 5, 1));
  EXPECT_EQ(skin.TrackVert->LeftWidth, 2);

  const Surface v = SkinDefinition::BuiltInTrackVert();
  ASSERT_EQ(v.Width(), 4);
  ASSERT_EQ(v.Height(), 16);
  EXPECT_EQ(v.At(2, 0), G);
  EXPECT_EQ(v.At(3, 1), S);
  EXPECT_EQ(v.At(0, 13), G);
  EXPECT_EQ(v.At(1, 13), H);
  EXPECT_EQ(v.At(0, 15), H);
}

TEST(SkinParse, AReloadReplacesEveryElement) {
  MemorySkinFiles files;
  files.Add("a.bmp", Bmp24(Tagged(20, 6, 1)));
  SkinDefinition skin;
  Parse(skin,
        "[TitlebarSkin]\nSkinName=First\n[MenuItem]\nImage=a.bmp\n[Button0]\nAction=2\n"
        "[Buttons]\nBitmap=a.bmp\n",
        files);
  ASSERT_TRUE(skin.MenuItem);
  EXPECT_EQ(skin.SkinName, "First");
  EXPECT_EQ(skin.SkinButtonCount(), 1);
  Parse(skin, "[TitlebarSkin]\nSkinName=Second\n", files);
  EXPECT_EQ(skin.SkinName, "Second");
  EXPECT_FALSE(skin.MenuItem);
  EXPECT_EQ(skin.SkinButtonCount(), 0);
  EXPECT_TRUE(skin.Buttons.Bitmap.IsEmpty());
}

TEST(SkinLoad, StreamToElementsAndRefusedStreamsKeepTheOldSkin) {
  const std::string definition = "[TitlebarSkin]\r\nSkinName=Packed\r\n[MenuItem]\r\nImage=Item.bmp\r\n";
  const std::vector<SkinPackageFile> files = {
      {"item.bmp", Bmp24(Tagged(10, 4, 6))},
      {"packed.ini", std::vector<std::uint8_t>(definition.begin(), definition.end())}};
  SkinDefinition skin;
  std::string error;
  ASSERT_EQ(LoadSkinStream(WriteSkinStream(files), skin, &error), SkinLoadStatus::Loaded);
  EXPECT_FALSE(skin.SkinEmpty);
  EXPECT_EQ(skin.SkinName, "Packed");
  ASSERT_TRUE(skin.MenuItem);
  EXPECT_EQ(skin.MenuItem->Bitmap, Tagged(10, 4, 6));

  // An unknown package version is refused with the one message users see;
  // the elements already parsed stay, but the skin counts as not loaded.
  std::vector<std::uint8_t> package = WriteSkinPackage(files);
  package[0] = 0x39;  // version 70000 -> 69945
  const std::vector<std::uint8_t> stream = EncodeSkinStream(package);
  EXPECT_EQ(LoadSkinStream(stream, skin, &error), SkinLoadStatus::UnknownVersion);
  EXPECT_EQ(error, kOlderSkinMessage);
  EXPECT_TRUE(skin.SkinEmpty);
  EXPECT_TRUE(skin.MenuItem);

  // A package without a definition parses as all defaults.
  SkinDefinition bare;
  ASSERT_EQ(LoadSkinStream(WriteSkinStream({files[0]}), bare), SkinLoadStatus::Loaded);
  EXPECT_FALSE(bare.MenuItem);
  EXPECT_EQ(bare.Colours[SkinDefinition::kButtonFace], Sys().SysColour(kSysButtonFace));
}

}  // namespace
}  // namespace corvane
