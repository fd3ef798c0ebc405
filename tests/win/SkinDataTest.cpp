// The skin component under Wine: its defaults and the link editor's stored
// values, reading a stored form, the requests it makes of the skin manager,
// loading skins from streams and files, and the small windows and pictures
// it makes for the form skins.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "launcher/main.h"
#include "launcher/supportForm.h"
#include "pictures/WinSurface.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/WinSkinData.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::CatchMessageBoxes;

Bytes StoredSkin() {
  std::ifstream in(CORVANE_STORED_SKIN, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A skin stream whose package carries a version number no reader knows.
Bytes ForeignVersionStream() {
  Bytes package = WriteSkinPackage({{"a.ini", {'[', 'S', ']', '\r', '\n'}}});
  const std::int32_t version = 80000;
  for (int i = 0; i < 4; ++i)
    package[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(version >> (8 * i));
  return EncodeSkinStream(package);
}

TSkinControlTypes Controls(std::initializer_list<TSkinControlType> members) {
  return members;
}

class SkinData : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { Fresh(); }
  static void Fresh() {
    ResetApplication();
    TSkinManage::Destroy();
    test::Pump();
  }
  // A component as a stored form leaves it: properties read, then Loaded.
  static std::unique_ptr<TSkinData> Read(TSkinFormType type, bool active, const Bytes& stream) {
    auto data = std::make_unique<TSkinData>(nullptr);
    data->BeginReading();
    data->SetActive(active);
    data->SkinFormtype = type;
    data->SetSkinStream(stream);
    data->Loaded();
    return data;
  }
  // Forgets the requests made so far, so a test sees only the next ones.
  static TSkinManage& QuietManager() {
    TSkinManage& m = *TSkinManage::Instance();
    m.PendingAction = kSkinActionNone;
    m.PendingSkinData = nullptr;
    return m;
  }
};

TEST_F(SkinData, StartsWithItsDefaultsAndTheDefaultClassMap) {
  TSkinData data(nullptr);
  const struct {
    const char* name;
    TPropValue value;
  } expected[] = {
      {"Active", std::int64_t{0}},
      {"DisableTag", std::int64_t{99}},
      {"SkinControls", std::int64_t{0x1FFFFB}},  // bits 0..20 but xcMenuItem
      {"Options", std::int64_t{0x448}},          // xoPreview, xoToolbarBK, xoCaptionButtonHint
      {"SkinFile", std::string()},
      {"SkinStore", std::string("(none)")},
      {"SkinFormtype", TEnumName{"sfMainform"}},
      {"Version", std::string("5.20.05.20")},
      {"MenuUpdate", std::int64_t{1}},
      {"MenuMerge", std::int64_t{0}},
  };
  for (const auto& e : expected) EXPECT_EQ(data.GetProperty(e.name), e.value) << e.name;
  EXPECT_TRUE(data.SkinEmpty());
  EXPECT_EQ(data.FramePaintFlag, 1);
  EXPECT_EQ(data.MaximisedSize().cx, GetSystemMetrics(SM_CXMAXIMIZED));
  EXPECT_EQ(data.MaximisedSize().cy, GetSystemMetrics(SM_CYMAXIMIZED));
  ASSERT_NE(data.HintWindow(), nullptr);
  EXPECT_FALSE(IsWindowVisible(data.HintWindow()));

  const std::vector<std::string>& lines = data.Skin3rd();
  ASSERT_EQ(lines.size(), 118u);
  EXPECT_EQ(lines.front(), "TCategoryButtons=scrollbar");
  EXPECT_EQ(lines.back(), "TOVCDBNUMERICFIELD=Edit");
  std::set<std::string> seen;
  std::vector<std::string> twice;
  for (const std::string& line : lines)
    if (!seen.insert(line).second) twice.push_back(line);
  EXPECT_EQ(twice,
            (std::vector<std::string>{"TDBCheckboxEh=Checkbox", "TLMDFontSizeCombobox=combobox",
                                      "TWWDBCombobox=Combobox"}));
  // Read by name the list is one text of CR LF ended lines.
  auto text = std::get<std::string>(data.GetProperty("Skin3rd"));
  EXPECT_EQ(text.substr(0, 28), "TCategoryButtons=scrollbar\r\n");
  EXPECT_EQ(SplitSkinNameList(text), lines);
}

TEST_F(SkinData, PropertiesWrittenByNameAndTheTextsThatStayFixed) {
  TSkinData data(nullptr);
  const struct {
    const char* name;
    TPropValue written;
    bool accepted;
    TPropValue reads;
  } cases[] = {
      {"Version", std::string("1.0"), true, std::string("5.20.05.20")},
      {"SkinStore", std::string("(Good)"), true, std::string("(none)")},
      {"SkinFormtype", TEnumName{"sfDialog"}, true, TEnumName{"sfDialog"}},
      {"SkinFormtype", TEnumName{"sfNothing"}, false, TEnumName{"sfDialog"}},
      {"SkinControls", std::int64_t{0x200001}, true, std::int64_t{0x200001}},
      {"Options", std::int64_t{0x0004}, true, std::int64_t{0x0004}},
      {"DisableTag", std::string("7"), false, std::int64_t{99}},
      {"DisableTag", std::int64_t{7}, true, std::int64_t{7}},
      {"MenuMerge", std::int64_t{1}, true, std::int64_t{1}},
      {"Skin3rd", std::string("TA=edit\r\nTB=panel\r\n"), true,
       std::string("TA=edit\r\nTB=panel\r\n")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(data.SetProperty(c.name, c.written), c.accepted);
    EXPECT_EQ(data.GetProperty(c.name), c.reads);
  }
  EXPECT_EQ(data.SkinFormtype, sfDialog);
  EXPECT_TRUE(data.SkinControls.Contains(xcMainMenu) && data.SkinControls.Contains(xcFastReport));
  EXPECT_EQ(data.Skin3rd(), (std::vector<std::string>{"TA=edit", "TB=panel"}));
  EXPECT_FALSE(data.SetProperty("NoSuchProperty", std::int64_t{1}));
}

TEST_F(SkinData, LinkEditorCarriesItsStoredComponentAndWithoutASkinStaysInactive) {
  test::TempFolder folder;
  Application().OnException = [](TObject*, const std::exception& e) { ADD_FAILURE() << e.what(); };
  Application().CreateForm<TForm1>(folder.File("Corvane.ini"));
  TForm2& editor = Application().CreateForm<TForm2>();

  ASSERT_NE(editor.SkinData1, nullptr);
  EXPECT_EQ(editor.FindComponent("SkinData1"), editor.SkinData1);
  const TSkinData& data = *editor.SkinData1;
  // The test program embeds no skin: the stored Active was refused by Loaded.
  EXPECT_TRUE(data.SkinEmpty());
  EXPECT_FALSE(data.Active());
  EXPECT_EQ(data.DisableTag, 99);
  // Stored with every kind but xcFastReport; Loaded drops xcMenuItem because
  // the main menu is skinned, and keeps the system menu.
  TSkinControlTypes expected = AllControlTypesExcept({xcFastReport, xcMenuItem});
  EXPECT_EQ(data.SkinControls.ToBits(), expected.ToBits());
  EXPECT_TRUE(data.SkinControls.Contains(xcSystemMenu));
  TSkinOptions options{xoTransparent, xoPreview,       xoNoFocusRect,
                       xoToolbarBK,   xoToolbarButton, xoCaptionButtonHint};
  EXPECT_EQ(data.Options.ToBits(), options.ToBits());
  EXPECT_EQ(data.Skin3rd(), DefaultSkin3rd());
  EXPECT_EQ(data.SkinFormtype, sfMainform);
  EXPECT_EQ(data.SkinStore(), "(none)");
  EXPECT_TRUE(data.MenuUpdate);
  EXPECT_FALSE(data.MenuMerge);
  EXPECT_TRUE(data.IsLoaded());
  EXPECT_FALSE(data.Reading());

  TSkinManage* manager = TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_EQ(manager->PrimarySkinData, &data);
  EXPECT_EQ(manager->PendingAction, kSkinActionNone);
  EXPECT_FALSE(manager->Active);

  ResetApplication();
  EXPECT_TRUE(manager->SkinDatas().empty());
  EXPECT_EQ(manager->PrimarySkinData, nullptr);
}

TEST_F(SkinData, BrokenOrForeignStreamsLeaveTheStoredActiveOffAndOnlyAForeignVersionSpeaks) {
  const Bytes whole = StoredSkin();
  ASSERT_FALSE(whole.empty());
  const Bytes announcesTooMuch = {0xF0, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4};
  const struct {
    const char* name;
    Bytes stream;
    int boxes;
  } cases[] = {
      {"a package of a foreign version", ForeignVersionStream(), 1},
      {"cut inside its size field", Bytes(whole.begin(), whole.begin() + 3), 0},
      {"cut inside the coded version", Bytes(whole.begin(), whole.begin() + 8), 0},
      {"cut inside the name list", Bytes(whole.begin(), whole.begin() + 100), 0},
      {"announcing more than any skin", announcesTooMuch, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<TSkinData> data;
    test::MessageBoxSeen seen = CatchMessageBoxes([&] { data = Read(sfMainform, true, c.stream); });
    EXPECT_EQ(seen.count, c.boxes);
    if (c.boxes) {
      EXPECT_EQ(seen.text, kOlderSkinMessage);
      EXPECT_EQ(seen.caption, Application().Title());
    }
    EXPECT_TRUE(data->SkinEmpty());
    EXPECT_FALSE(data->Active());
    EXPECT_EQ(TSkinManage::Instance()->PendingAction, kSkinActionNone);
    EXPECT_FALSE(TSkinManage::Instance()->Active);
    data.reset();
    TSkinManage::Destroy();
  }
}

TEST_F(SkinData, TheStoredSkinLoadsIntoBordersColoursAndTheFaceBrush) {
  auto data = Read(sfMainform, true, StoredSkin());
  ASSERT_FALSE(data->SkinEmpty());
  const SkinDefinition& skin = data->Skin();
  ASSERT_GT(skin.BorderLeft.Frame, 0);
  ASSERT_GT(skin.BorderTop.Frame, 0);
  EXPECT_EQ(skin.BorderLeft.Bitmap.Width() / skin.BorderLeft.Frame, 4);
  EXPECT_EQ(skin.BorderRight.Bitmap.Width() / skin.BorderRight.Frame, 4);
  EXPECT_EQ(skin.BorderTop.Bitmap.Height() / skin.BorderTop.Frame, 25);
  EXPECT_EQ(skin.BorderBottom.Bitmap.Height() / skin.BorderBottom.Frame, 5);
  EXPECT_FALSE(skin.SkinName.empty());
  LOGBRUSH brush{};
  ASSERT_TRUE(GetObjectA(data->FaceBrush(), sizeof brush, &brush));
  EXPECT_EQ(brush.lbColor, RGB(227, 226, 236));
  // A stored Active with a skin asks for skinning (before any activation the
  // manager only switches itself on).
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(TSkinManage::Instance()->PendingAction, kSkinAll);
  EXPECT_EQ(TSkinManage::Instance()->ActionDelay(), 250);
  EXPECT_TRUE(TSkinManage::Instance()->Active);

  // A refused package afterwards: the message, then empty with the old
  // elements kept.
  test::MessageBoxSeen seen =
      CatchMessageBoxes([&] { data->SetSkinStream(ForeignVersionStream()); });
  EXPECT_EQ(seen.count, 1);
  EXPECT_TRUE(data->SkinEmpty());
  EXPECT_EQ(skin.BorderTop.Bitmap.Height() / skin.BorderTop.Frame, 25);
}

TEST_F(SkinData, SkinFileLoadsAndReappliesAnExistingFileAndAMissingOneOnlyEmpties) {
  test::TempFolder folder;
  const std::string path = folder.File("harbour.skn");
  {
    const Bytes bytes = StoredSkin();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  TSkinData data(nullptr);
  // No manager yet: applying the loaded skin runs Loaded first.
  data.SetSkinFile(path);
  EXPECT_FALSE(data.SkinEmpty());
  EXPECT_EQ(data.SkinFile(), path);
  ASSERT_NE(TSkinManage::Instance(), nullptr);
  TSkinManage& manager = *TSkinManage::Instance();
  EXPECT_EQ(manager.SkinDatas(), std::vector<TSkinData*>{&data});
  EXPECT_EQ(manager.PendingSkinData, &data);
  EXPECT_EQ(manager.PendingAction, kSkinActionNone);

  // Once skinning runs, a new file is re-applied to the skinned windows.
  manager.State = 1;
  QuietManager();
  data.SetSkinFile(path);
  EXPECT_EQ(manager.PendingSkinData, &data);
  EXPECT_EQ(manager.PendingAction, kReskinAll);

  QuietManager();
  const std::size_t streamSize = data.SkinStream().size();
  data.SetSkinFile(folder.File("gone.skn"));
  EXPECT_TRUE(data.SkinEmpty());
  EXPECT_EQ(data.SkinStream().size(), streamSize);
  EXPECT_EQ(data.Skin().BorderTop.Frame, 2);
  EXPECT_EQ(manager.PendingAction, kSkinActionNone);
}

TEST_F(SkinData, ActiveAsksTheManagerByFormTypeAndNeverForTheValueItHas) {
  const Bytes skin = StoredSkin();
  enum Start { kOff, kOn };
  const struct {
    const char* name;
    TSkinFormType type;
    bool loaded;
    Start start;
    bool value;
    bool pendingSet;
    int action;
  } cases[] = {
      {"main form, skin on", sfMainform, true, kOff, true, true, kSkinAll},
      {"main form, skin off", sfMainform, true, kOn, false, true, kUnskinAll},
      {"main form, empty, on is refused", sfMainform, false, kOff, true, false, kSkinActionNone},
      {"main form, on again", sfMainform, true, kOn, true, false, kSkinActionNone},
      {"this form, on", sfOnlyThisForm, true, kOff, true, true, kSkinAll},
      {"this form, off", sfOnlyThisForm, true, kOn, false, true, kUnskinAll},
      {"this form, empty, on is refused", sfOnlyThisForm, false, kOff, true, true, kSkinActionNone},
      {"this form, off again", sfOnlyThisForm, true, kOff, false, false, kSkinActionNone},
      {"dialog, on", sfDialog, true, kOff, true, false, kSkinActionNone},
      {"library, off", sfDLL, true, kOn, false, false, kSkinActionNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto data = Read(c.type, false, c.loaded ? skin : Bytes{});
    TSkinManage& manager = *TSkinManage::Instance();
    manager.State = 1;
    if (c.start == kOn) data->SetActive(true);
    // The skin changing meanwhile does not make a repeated value a change.
    if (c.loaded) data->SetSkinStream(skin);
    QuietManager();
    data->SetActive(c.value);
    EXPECT_EQ(data->Active(), c.value);
    EXPECT_EQ(manager.PendingSkinData, c.pendingSet ? data.get() : nullptr);
    EXPECT_EQ(manager.PendingAction, c.action);
    if (c.action != kSkinActionNone) {
      EXPECT_EQ(manager.ActionDelay(), 250);
    }
    data.reset();
    TSkinManage::Destroy();
  }

  // While a form is read Active only stores its value.
  auto data = Read(sfMainform, false, skin);
  QuietManager();
  data->BeginReading();
  data->SetActive(true);
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(TSkinManage::Instance()->PendingAction, kSkinActionNone);
  EXPECT_EQ(TSkinManage::Instance()->PendingSkinData, nullptr);
}

TEST_F(SkinData, LoadedTrimsTheMenuKindsAndScopesTheManagerByFormType) {
  const struct {
    const char* name;
    TSkinFormType type;
    TSkinControlTypes stored;
    TSkinControlTypes after;
  } cases[] = {
      {"main menu skinned: its items are not", sfMainform,
       Controls({xcMainMenu, xcMenuItem, xcSystemMenu}), Controls({xcMainMenu, xcSystemMenu})},
      {"no main menu: no system menu", sfMainform,
       Controls({xcMenuItem, xcSystemMenu, xcScrollbar}), Controls({xcMenuItem, xcScrollbar})},
      {"only this form: left as stored", sfOnlyThisForm, Controls({xcMainMenu, xcMenuItem}),
       Controls({xcMainMenu, xcMenuItem})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto data = std::make_unique<TSkinData>(nullptr);
    data->BeginReading();
    data->SkinFormtype = c.type;
    data->SkinControls = c.stored;
    data->Loaded();
    EXPECT_EQ(data->SkinControls.ToBits(), c.after.ToBits());
    TSkinManage& manager = *TSkinManage::Instance();
    EXPECT_EQ(manager.SkinDatas(), std::vector<TSkinData*>{data.get()});
    EXPECT_EQ(manager.HookInstalled(), c.type == sfMainform);
    EXPECT_EQ(manager.PrimarySkinData, c.type == sfMainform ? data.get() : nullptr);
    // A form-scoped component switches the manager on and counts itself in.
    EXPECT_EQ(manager.Active, c.type != sfMainform);
    EXPECT_EQ(manager.State, c.type != sfMainform ? 1 : 0);

    // The caption font is the system's own.
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(data->CaptionFont(96), sizeof font, &font));
    EXPECT_STREQ(font.lfFaceName, metrics.lfCaptionFont.lfFaceName);
    EXPECT_EQ(font.lfHeight, metrics.lfCaptionFont.lfHeight);

    data.reset();
    EXPECT_TRUE(manager.SkinDatas().empty());
    TSkinManage::Destroy();
  }
}

TEST_F(SkinData, MayFormSkinLeavesTheCallersAnswerButForCalendarsReportFormsAndTheHandler) {
  const struct {
    const char* name;
    bool handler;
    bool fastReport;
    const char* className;
    bool preset;
    bool expected;
  } cases[] = {
      {"month calendar", false, false, "SysMonthCal32", true, false},
      {"report form with xcFastReport", false, true, "TfrPreviewForm", true, false},
      {"report form without xcFastReport", false, false, "TfrPreviewForm", true, true},
      {"ordinary form, caller said no", false, true, "TForm2", false, false},
      {"ordinary form, caller said yes", false, true, "TForm2", true, true},
      {"handler alone decides, even a calendar", true, true, "SysMonthCal32", true, true},
      {"handler says no", true, false, "TForm2", true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TSkinData data(nullptr);
    if (c.fastReport) data.SkinControls.Include(xcFastReport);
    std::string asked;
    if (c.handler) {
      data.OnFormSkin = [&](TObject* sender, const std::string& aName, bool& doSkin) {
        EXPECT_EQ(sender, &data);
        asked = aName;
        doSkin = aName == "SysMonthCal32";
      };
    }
    bool doSkin = c.preset;
    HWND window = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0x1234));
    data.MayFormSkin(window, c.className, doSkin);
    EXPECT_EQ(doSkin, c.expected);
    EXPECT_EQ(data.LastMayFormSkinWindow(), window);
    EXPECT_EQ(asked, c.handler ? c.className : "");
  }
}

TEST_F(SkinData, CaptionHintShowsOnceAtTheRectangleNeverWiderThan500AndOnlyWhenAsked) {
  std::string words;
  for (int i = 0; i < 60; ++i) words += "caption ";
  const struct {
    const char* name;
    bool option;
    std::string text;
  } cases[] = {
      {"a short hint", true, "Close"},
      {"many words wrap", true, words},
      {"one long word is clipped", true, std::string(300, 'W')},
      {"hints switched off", false, "Close"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TSkinData data(nullptr);
    if (!c.option) data.Options.Exclude(xoCaptionButtonHint);
    const RECT at{40, 60, 57, 77};
    data.ShowCaptionHint(at, c.text);
    EXPECT_EQ(data.CaptionHintShown(), c.option);
    EXPECT_EQ(IsWindowVisible(data.HintWindow()) != FALSE, c.option);
    if (!c.option) continue;
    RECT r;
    GetWindowRect(data.HintWindow(), &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 60);
    EXPECT_LE(r.right - r.left, 500);
    EXPECT_GT(r.bottom - r.top, 4);
    char shown[1024] = {};
    GetWindowTextA(data.HintWindow(), shown, sizeof shown);
    EXPECT_EQ(shown, c.text);
    // The window is ours: it never takes the activation from the form.
    EXPECT_NE(GetActiveWindow(), data.HintWindow());
    EXPECT_TRUE(GetWindowLongA(data.HintWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // While it shows another hint waits its turn.
    data.ShowCaptionHint(RECT{300, 300, 310, 310}, "Other");
    GetWindowRect(data.HintWindow(), &r);
    EXPECT_EQ(r.left, 40);
    data.HideCaptionHint();
    EXPECT_FALSE(data.CaptionHintShown());
    EXPECT_FALSE(IsWindowVisible(data.HintWindow()));
  }
  // The long words' hint really wraps rather than stretching to the limit in
  // one line.
  TSkinData data(nullptr);
  data.ShowCaptionHint(RECT{0, 0, 0, 0}, "Close");
  RECT oneLine;
  GetWindowRect(data.HintWindow(), &oneLine);
  data.HideCaptionHint();
  data.ShowCaptionHint(RECT{0, 0, 0, 0}, words);
  RECT wrapped;
  GetWindowRect(data.HintWindow(), &wrapped);
  EXPECT_GT(wrapped.bottom - wrapped.top, 2 * (oneLine.bottom - oneLine.top) - 8);
}

void ExpectGlyphInkWhereTheArtHasIt(const TImageList& glyphs) {
  const int size = glyphs.Width();
  // The first target pixel that falls on the design pixel.
  auto scaled = [size](POINT p) { return POINT{(p.x * size + 15) / 16, (p.y * size + 15) / 16}; };
  // Ink where each glyph has it, the background through the white mask.
  const COLORREF back = RGB(200, 30, 30);
  const struct {
    int index;
    POINT ink;
    POINT clear;
  } cases[] = {
      {0, {2, 6}, {3, 3}},   // restore: the front window's edge; above it, left of the back one
      {1, {2, 8}, {8, 8}},   // maximise: the frame; inside it
      {2, {8, 11}, {8, 5}},  // minimise: the dash; above it
      {3, {7, 7}, {7, 1}},   // close: the crossing; above it
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    test::Canvas canvas(size, size);
    UniqueBrush fill(CreateSolidBrush(back));
    RECT all{0, 0, size, size};
    FillRect(canvas.Dc(), &all, fill.Get());
    glyphs.Draw(canvas.Dc(), 0, 0, c.index);
    const POINT ink = scaled(c.ink), clear = scaled(c.clear);
    EXPECT_EQ(canvas.At(ink.x, ink.y), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(clear.x, clear.y), back);
    EXPECT_EQ(canvas.At(0, size - 1), back);
  }
}

TEST_F(SkinData, MenuGlyphsAreFourMaskedCellsInTheirOrder) {
  TSkinData data(nullptr);
  EXPECT_EQ(&data.MenuGlyphs(96), &data.MenuGlyphs()) << "the design's list serves 96 DPI";
  EXPECT_EQ(&data.MenuGlyphs(192), &data.MenuGlyphs(192)) << "made once per DPI";
  // The art at 16, and at 200 % and 150 % for a menu on a scaled monitor:
  // each design pixel becomes the block of pixels it covers.
  for (int dpi : {96, 192, 144}) {
    SCOPED_TRACE(dpi);
    const TImageList& glyphs = data.MenuGlyphs(dpi);
    const int size = dpi / 6;
    ASSERT_EQ(glyphs.Count(), 4);
    EXPECT_EQ(glyphs.Width(), size);
    EXPECT_EQ(glyphs.Height(), size);
    ExpectGlyphInkWhereTheArtHasIt(glyphs);
  }
}

TEST_F(SkinData, AppIconIsTheApplicationsSmallIconOnMagenta) {
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  // Without an icon there is no picture.
  Application();
  {
    auto data = Read(sfMainform, false, {});
    EXPECT_EQ(data->AppIcon(), nullptr);
  }
  TSkinManage::Destroy();

  // A blue disc whose corners are transparent.
  Surface disc(cx, cy);
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) {
      const int dx = 2 * x + 1 - cx, dy = 2 * y + 1 - cy;
      disc.At(x, y) = dx * dx + dy * dy <= cx * cx ? 0xFF0000FFu : 0u;
    }
  UniqueIcon icon = CreateIconFromSurface(disc.View());
  ASSERT_TRUE(icon);
  SendMessageA(Application().Handle(), WM_SETICON, ICON_SMALL,
               reinterpret_cast<LPARAM>(icon.Get()));
  auto data = Read(sfMainform, false, {});
  ASSERT_NE(data->AppIcon(), nullptr);
  Surface picture = SurfaceFromBitmap(data->AppIcon());
  ASSERT_EQ(picture.Width(), cx);
  ASSERT_EQ(picture.Height(), cy);
  for (POINT corner : {POINT{0, 0}, POINT{cx - 1, 0}, POINT{0, cy - 1}, POINT{cx - 1, cy - 1}})
    EXPECT_EQ(picture.At(corner.x, corner.y) & 0xFFFFFF, 0xFF00FFu) << corner.x << "," << corner.y;
  EXPECT_EQ(picture.At(cx / 2, cy / 2) & 0xFFFFFF, 0x0000FFu);
  SendMessageA(Application().Handle(), WM_SETICON, ICON_SMALL, 0);
}

}  // namespace
}  // namespace corvane
