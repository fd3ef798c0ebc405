// Skinned controls on live windows: the pixels of buttons, check boxes,
// radio buttons, group boxes, status bars and headers against the skin's
// pictures in each state; switching a skin off and on; the rules that keep
// controls plain; bare windows of system dialogs; controls and windows
// destroyed while skinned; handles over many skin cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Buttons.h"
#include "framework/CheckBoxes.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/Panels.h"
#include "launcher/main.h"
#include "launcher/supportForm.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/controls/WinSkinContainers.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {

// A push button class of another library, for the third-party list.
class TMyButton : public TButton {
  CORVANE_CLASS(TMyButton, TButton)

 public:
  using TButton::TButton;
};
class TMyButtonLong : public TButton {
  CORVANE_CLASS(TMyButtonLong, TButton)

 public:
  using TButton::TButton;
};

namespace {

using test::skin::Mismatches;
using test::Pump;
using test::PumpUntil;
using test::skin::RingMismatches;

LRESULT Query(HWND w) {
  return SendMessageA(w, WM_SKINQUERY, 0, 0);
}

// The window on screen once everything painted has reached it (the system
// puts window pictures on the screen a moment after they are drawn).
Surface CaptureWindow(HWND w) {
  UpdateWindow(w);
  GdiFlush();
  for (int i = 0; i < 3; ++i) {
    Pump();
    Sleep(15);
  }
  return test::skin::CaptureWindow(w);
}

using test::skin::SkinOf;

class SkinnedControls : public ::testing::Test {
 protected:
  void SetUp() override {
    test::skin::FreshStart();
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
  }
  void TearDown() override {
    ReleaseCapture();
    ResetApplication();
    TSkinManage::Destroy();
  }
  TForm& MakeForm(int left = 120, int top = 100) {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetCaption("Controls");
    form.SetBounds(left, top, 460, 360);
    return form;
  }
  template <typename T>
  T& Add(TForm& form, TWinControl* parent, int left, int top, int width, int height,
         const std::string& caption = {}) {
    T& control = form.Create<T>();
    control.SetBounds(left, top, width, height);
    if (!caption.empty()) control.SetCaption(caption);
    control.SetParent(parent ? parent : &form);
    return control;
  }
  // Shows the form and waits until its skin has walked its controls.
  void ShowSkinned(TForm& form) {
    ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form));
    SetFocus(form.Handle());
    Pump();
  }
  // The launcher and the link editor, the editor with the stored skin in its
  // own skin component (which then is the one the fixture's tests use).
  TForm2& ShowEditor(const test::TempFolder& folder,
                     const std::function<void(TForm2&)>& prepare = {}) {
    TForm1& launcher = Application().CreateForm<TForm1>(folder.File("Corvane.ini"));
    launcher.Show();
    TForm2& editor = Application().CreateForm<TForm2>();
    editor.SkinData1->SetSkinStream(test::skin::StoredSkin());
    editor.SkinData1->SetActive(true);
    if (prepare) prepare(editor);
    ShowSkinned(editor);
    data = editor.SkinData1;
    return editor;
  }
  const TDataSkinButton& Buttons() const { return data->Skin().Buttons; }
  Surface ButtonCell(HWND w, int cell) const {
    RECT r{};
    GetWindowRect(w, &r);
    const TDataSkinButton& b = Buttons();
    return BuildElementBitmap({0, 0, r.right - r.left, r.bottom - r.top}, b.Bitmap,
                              {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight}, false,
                              b.Tile == 1, 5, cell);
  }
  // Frame-ring mismatches of the button on screen against a cell.
  int CellMismatches(HWND w, int cell) {
    UpdateWindow(w);
    const TDataSkinButton& b = Buttons();
    return RingMismatches(CaptureWindow(w), ButtonCell(w, cell), b.LeftWidth, b.TopHeight,
                          b.RightWidth, b.BottomHeight);
  }
  // The one cell the button shows, or 0.
  int ShownCell(HWND w) {
    for (int cell = 1; cell <= 5; ++cell)
      if (CellMismatches(w, cell) == 0) return cell;
    return 0;
  }
  // Pixels of one cell of a horizontal strip placed at `at` on the capture.
  static int StripCellMismatches(const Surface& shot, const Surface& strip, int frames, int cell,
                                 Point at) {
    Surface one(strip.Width() / frames, strip.Height());
    StretchCopy(one.View(), one.View().Bounds(), strip.View(),
                CellRect({strip.Width(), strip.Height()}, frames, cell, false));
    return Mismatches(shot, one, at, one.View().Bounds());
  }

  TSkinData* data = nullptr;
};

TEST_F(SkinnedControls, TheRingOfEveryButtonCellIsItsOwn) {
  // The comparisons below tell cells apart by their frame ring only.
  TForm& form = MakeForm();
  TButton& button = Add<TButton>(form, nullptr, 20, 20, 75, 25, "Ring");
  ShowSkinned(form);
  const TDataSkinButton& b = Buttons();
  for (int a = 1; a <= 5; ++a)
    for (int c = a + 1; c <= 5; ++c)
      EXPECT_GT(RingMismatches(ButtonCell(button.Handle(), a), ButtonCell(button.Handle(), c),
                               b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight),
                0)
          << a << " " << c;
}

TEST_F(SkinnedControls, PushButtonsShowTheCellOfTheirState) {
  TForm& form = MakeForm();
  TButton& plain = Add<TButton>(form, nullptr, 20, 20, 75, 25, "Plain");
  TButton& byDefault = Add<TButton>(form, nullptr, 110, 20, 75, 25, "Default");
  byDefault.SetDefault(true);
  TButton& disabled = Add<TButton>(form, nullptr, 200, 20, 75, 25, "Off");
  disabled.SetEnabled(false);
  TButton& disabledDefault = Add<TButton>(form, nullptr, 290, 20, 75, 25, "Off too");
  disabledDefault.SetDefault(true);
  disabledDefault.SetEnabled(false);
  TButton& twoLines = Add<TButton>(form, nullptr, 20, 60, 75, 40, "Two||lines");
  ShowSkinned(form);
  for (TButton* b : {&plain, &byDefault, &disabled, &disabledDefault, &twoLines})
    EXPECT_EQ(Query(b->Handle()), 1);
  EXPECT_EQ(ShownCell(plain.Handle()), 1);
  EXPECT_EQ(ShownCell(byDefault.Handle()), 5) << "a default button without the focus";
  EXPECT_EQ(ShownCell(disabled.Handle()), 3);
  EXPECT_EQ(ShownCell(disabledDefault.Handle()), 3) << "disabled wins over default";
  // "||" breaks the caption: the text covers two separate bands of rows.
  Surface shot = CaptureWindow(twoLines.Handle());
  Surface face = ButtonCell(twoLines.Handle(), 1);
  std::vector<bool> inked(40, false);
  for (int y = 3; y < 37; ++y)
    for (int x = 6; x < 69; ++x)
      if ((shot.At(x, y) & 0xFFFFFF) != (face.At(x, y) & 0xFFFFFF)) inked[y] = true;
  int bands = 0;
  for (int y = 1; y < 40; ++y) bands += inked[y] && !inked[y - 1];
  EXPECT_EQ(bands, 2);
}

TEST_F(SkinnedControls, ATag5555ButtonShowsItsParentAroundTheFrame) {
  TForm& form = MakeForm();
  // A plain white panel (kept plain by the disable tag) under two buttons.
  TPanel& panel = Add<TPanel>(form, nullptr, 10, 10, 300, 80);
  panel.Tag = 99;
  panel.BevelRaised = false;
  panel.SetColor(clWhite);
  TButton& seeThrough = Add<TButton>(form, &panel, 20, 20, 90, 25, "Through");
  seeThrough.Tag = 5555;
  TButton& solid = Add<TButton>(form, &panel, 150, 20, 90, 25, "Solid");
  ShowSkinned(form);
  ASSERT_EQ(Query(seeThrough.Handle()), 1);
  TSkinButton* skin = SkinOf<TSkinButton>(seeThrough);
  ASSERT_NE(skin, nullptr);
  EXPECT_TRUE(skin->Transparent());
  Surface cell = ButtonCell(seeThrough.Handle(), 1);
  ASSERT_TRUE(SameColour(cell.At(0, 0), kColourKey)) << "the skin's corner is see-through";
  const SkinDefinition& s = data->Skin();
  EXPECT_EQ(CaptureWindow(seeThrough.Handle()).At(0, 0) & 0xFFFFFF, 0xFFFFFFu)
      << "the white panel shows";
  EXPECT_EQ(
      CaptureWindow(solid.Handle()).At(0, 0) & 0xFFFFFF,
      PixelFromColour(ResolveColour(s.Colours[SkinDefinition::kButtonFace], s.System())) & 0xFFFFFF)
      << "other buttons stand on the face colour";
}

using test::skin::AlteredSkin;

TEST_F(SkinnedControls, WithoutButtonPicturesOrWithStripsTooNarrowTheSystemDraws) {
  test::TempFolder folder;
  std::string narrowPath = folder.File("narrow.bmp");
  ASSERT_TRUE(test::WriteBmp(narrowPath, 6, 13, [](int, int) { return RGB(0, 0, 0); }));
  std::ifstream in(narrowPath, std::ios::binary);
  std::vector<std::uint8_t> narrow{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  std::vector<std::uint8_t> skin =
      AlteredSkin({{"buttons.bmp", {}}, {"checkbox.bmp", narrow}, {"radiobutton.bmp", {}}});
  ResetApplication();
  TSkinManage::Destroy();
  data = &test::skin::ActiveSkinData(skin);
  ASSERT_FALSE(data->SkinEmpty());
  ASSERT_TRUE(data->Skin().Buttons.Bitmap.IsEmpty());
  ASSERT_EQ(data->Skin().Buttons.CheckBitmap.Width(), 6);

  TForm& plainForm = MakeForm(600, 100);
  plainForm.Tag = 99;
  TButton& twin = Add<TButton>(plainForm, nullptr, 40, 40, 90, 25, "Same");
  plainForm.Show();
  TForm& form = MakeForm();
  TButton& button = Add<TButton>(form, nullptr, 40, 40, 90, 25, "Same");
  TCheckBox& check = Add<TCheckBox>(form, nullptr, 40, 80, 120, 17, "Check");
  check.SetChecked(true);
  TRadioButton& radio = Add<TRadioButton>(form, nullptr, 40, 110, 120, 17, "Radio");
  ShowSkinned(form);
  for (HWND w : {button.Handle(), check.Handle(), radio.Handle()}) EXPECT_EQ(Query(w), 1);
  Surface shot = CaptureWindow(button.Handle()), plain = CaptureWindow(twin.Handle());
  EXPECT_EQ(Mismatches(shot, plain, {0, 0}, plain.View().Bounds()), 0)
      << "the system's button";
  // The check box and radio button are the system's too: something is drawn.
  for (HWND w : {check.Handle(), radio.Handle()}) {
    Surface s = CaptureWindow(w);
    std::set<Pixel> colours;
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) colours.insert(s.At(x, y) & 0xFFFFFF);
    EXPECT_GT(colours.size(), 2u);
  }
  SendMessageA(check.Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(check.Checked());
}

TEST(ControlProperties, ReadAndWrittenByNameOverAnyControl) {
  ResetApplication();
  TForm& form = Application().CreateForm<TForm>();
  TCheckBox& check = form.Create<TCheckBox>();
  TPanel& panel = form.Create<TPanel>();
  TButton& button = form.Create<TButton>();
  button.SetCaption("Go");
  check.SetChecked(true);
  struct Case {
    TComponent* c;
    const char* name;
    std::int64_t asInt;
    std::string asText;
    bool isTrue;
  } cases[] = {
      {&check, "Checked", 1, "1", true},           {&check, "State", -1, "cbChecked", false},
      {&button, "Default", 0, "0", false},         {&button, "Caption", -1, "Go", false},
      {&panel, "ParentBackground", 0, "0", false}, {&panel, "NoSuchProperty", -1, "", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PropertyInt(c.c, c.name), c.asInt) << c.name;
    EXPECT_EQ(PropertyText(c.c, c.name), c.asText) << c.name;
    EXPECT_EQ(PropertyIsTrue(c.c, c.name), c.isTrue) << c.name;
  }
  EXPECT_TRUE(SetPropertyText(&panel, "ParentBackground", "True"));
  EXPECT_TRUE(panel.ParentBackground);
  EXPECT_TRUE(SetPropertyText(&check, "State", "cbUnchecked"));
  EXPECT_FALSE(check.Checked());
  EXPECT_TRUE(SetPropertyText(&button, "Caption", "Stop"));
  EXPECT_EQ(button.Caption(), "Stop");
  EXPECT_FALSE(SetPropertyText(&button, "NoSuchProperty", "1"));
  EXPECT_FALSE(HasProperty(&button, "NoSuchProperty"));
  EXPECT_EQ(PropertyInt(nullptr, "Checked"), -1);
  ResetApplication();
}

TEST_F(SkinnedControls, TheSkinControlEventChoosesTheObjectAndEndsTheRules) {
  std::vector<std::string> asked;
  data->OnSkinControl = [&](TComponent*, TSkinData*, TControl*, TControl* control,
                            const std::string& cls, TComponent*& chosen) {
    asked.push_back(cls);
    // Check boxes get a push-button skin; everything else stays plain.
    if (cls == "TCHECKBOX") chosen = &control->Create<TSkinButton>();
  };
  TForm& form = MakeForm();
  TButton& button = Add<TButton>(form, nullptr, 20, 20, 75, 25, "Plain");
  TCheckBox& check = Add<TCheckBox>(form, nullptr, 20, 60, 120, 25, "As a button");
  ShowSkinned(form);
  EXPECT_EQ(Query(button.Handle()), 0) << "the event answered nothing: no rule runs";
  EXPECT_EQ(Query(check.Handle()), 1);
  EXPECT_NE(SkinOf<TSkinButton>(check), nullptr);
  EXPECT_NE(std::find(asked.begin(), asked.end(), "TBUTTON"), asked.end());
}

TEST_F(SkinnedControls, AControlMovedToAnotherSkinnedFormKeepsOneSkin) {
  TForm& first = MakeForm();
  TButton& button = Add<TButton>(first, nullptr, 20, 20, 75, 25, "Moving");
  ShowSkinned(first);
  TForm& second = MakeForm(600, 100);
  ShowSkinned(second);
  button.SetParent(&second);
  TWinSkinForm* secondSkin = TSkinManage::Instance()->FindFormSkin(second.Handle());
  ASSERT_NE(secondSkin, nullptr);
  secondSkin->RefreshControlSkins();
  int skins = 0;
  for (int i = 0; i < button.ComponentCount(); ++i)
    skins += dynamic_cast<TSkinControl*>(button.Components(i)) != nullptr;
  EXPECT_EQ(skins, 1);
  EXPECT_EQ(Query(button.Handle()), 1);
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  // Unskinning everything gives the button back once, wherever it is now.
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_EQ(Query(button.Handle()), 0);
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(SkinnedControls, HotPressedAndAReleaseOffTheButtonStillClicks) {
  TForm& form = MakeForm();
  TButton& button = Add<TButton>(form, nullptr, 40, 40, 90, 25, "Press me");
  TButton& other = Add<TButton>(form, nullptr, 140, 40, 90, 25, "Other");
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  ShowSkinned(form);
  HWND w = button.Handle();
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(ShownCell(w), 4) << "hot";
  EXPECT_EQ(ShownCell(other.Handle()), 1) << "only the button under the mouse changes";
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ShownCell(w), 1);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(GetCapture(), w) << "the skin holds the mouse from the press";
  EXPECT_EQ(ShownCell(w), 2) << "pressed";
  EXPECT_EQ(clicks, 0);
  // Off the button, with the mouse still held.
  SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-40, -40));
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ShownCell(w), 2);
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(-40, -40));
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(GetCapture(), w);
  EXPECT_EQ(GetFocus(), w) << "the press focused it";
  EXPECT_EQ(ShownCell(w), 5) << "focused";
  // The system's own click message still counts once.
  SendMessageA(w, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  // The space bar presses too.
  SendMessageA(w, WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(ShownCell(w), 2);
  SendMessageA(w, WM_KEYUP, VK_SPACE, 0);
  Pump();
  EXPECT_EQ(clicks, 3);
}

TEST_F(SkinnedControls, SkinEnableOffLooksAndActsLikeAPlainButtonAndOnBringsTheSkinBack) {
  TForm& plainForm = MakeForm(600, 100);
  plainForm.Tag = 99;  // never skinned
  TButton& twin = Add<TButton>(plainForm, nullptr, 40, 40, 90, 25, "Same");
  plainForm.Show();
  TForm& form = MakeForm();
  TButton& button = Add<TButton>(form, nullptr, 40, 40, 90, 25, "Same");
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };
  ShowSkinned(form);
  EXPECT_EQ(Query(twin.Handle()), 0);
  HWND w = button.Handle();
  ASSERT_EQ(ShownCell(w), 1);
  SendMessageA(w, WM_SKINENABLE, 0, 0);
  Pump();
  UpdateWindow(twin.Handle());
  Surface off = CaptureWindow(w), plain = CaptureWindow(twin.Handle());
  EXPECT_EQ(Mismatches(off, plain, {0, 0}, plain.View().Bounds()), 0)
      << "the same pixels as a plain button";
  EXPECT_EQ(Query(w), 0);
  SendMessageA(w, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1) << "the system's button clicks";
  SendMessageA(w, WM_SKINENABLE, 1, 0);
  Pump();
  SetFocus(form.Handle());
  EXPECT_EQ(Query(w), 1);
  EXPECT_EQ(ShownCell(w), 1);
  // A second walk does not give the button another skin.
  TWinSkinForm* formSkin = TSkinManage::Instance()->FindFormSkin(form.Handle());
  std::size_t skins = formSkin->ControlSkins().size();
  formSkin->RefreshControlSkins();
  EXPECT_EQ(formSkin->ControlSkins().size(), skins);
}

TEST_F(SkinnedControls, DisableTagAndTheThirdPartyListKeepControlsPlain) {
  data->SetSkin3rd({"TMyButtonLong=nil", "TCheckBoxSpecial=checkbox"});
  TForm& form = MakeForm();
  TButton& tagged = Add<TButton>(form, nullptr, 20, 20, 75, 25, "Tagged");
  tagged.Tag = 99;
  TMyButtonLong& listed = Add<TMyButtonLong>(form, nullptr, 110, 20, 75, 25, "Listed");
  TMyButton& prefix = Add<TMyButton>(form, nullptr, 200, 20, 75, 25, "Prefix");
  TRadioGroup& group = Add<TRadioGroup>(form, nullptr, 20, 60, 150, 90, "Group");
  group.SetItems({"One", "Two"});
  group.Tag = 99;
  TRadioGroup& skinnedGroup = Add<TRadioGroup>(form, nullptr, 200, 60, 150, 90, "Skinned");
  skinnedGroup.SetItems({"One", "Two"});
  ShowSkinned(form);
  EXPECT_EQ(Query(tagged.Handle()), 0);
  EXPECT_EQ(Query(listed.Handle()), 0) << "a nil line keeps a push-button descendant plain";
  EXPECT_EQ(Query(prefix.Handle()), 1)
      << "a class whose name is a prefix of a listed one is not listed";
  EXPECT_EQ(Query(group.Handle()), 0);
  for (int i = 0; i < group.Count(); ++i) {
    EXPECT_EQ(Query(group.Button(i)->Handle()), 0);
    EXPECT_EQ(group.Button(i)->Tag, 99) << "the group's items are marked too";
  }
  EXPECT_EQ(Query(skinnedGroup.Handle()), 1);
  for (int i = 0; i < skinnedGroup.Count(); ++i)
    EXPECT_EQ(Query(skinnedGroup.Button(i)->Handle()), 1);
}

TEST_F(SkinnedControls, CheckBoxesAndRadioButtonsShowTheirCells) {
  TForm& form = MakeForm();
  TCheckBox& check = Add<TCheckBox>(form, nullptr, 20, 20, 120, 17, "Check");
  TCheckBox& checkedOff = Add<TCheckBox>(form, nullptr, 20, 45, 120, 17, "Checked, off");
  checkedOff.SetChecked(true);
  checkedOff.SetEnabled(false);
  TCheckBox& left = Add<TCheckBox>(form, nullptr, 20, 70, 120, 17, "Left text");
  left.LeftText = true;
  TRadioButton& radio = Add<TRadioButton>(form, nullptr, 200, 20, 120, 17, "Radio");
  TRadioButton& radio2 = Add<TRadioButton>(form, nullptr, 200, 45, 120, 17, "Radio 2");
  ShowSkinned(form);
  const TDataSkinButton& b = Buttons();
  auto checkShown = [&](TControl& c, int cell, bool atRight) {
    HWND w = static_cast<TWinControl&>(c).Handle();
    UpdateWindow(w);
    Surface shot = CaptureWindow(w);
    int frames = b.CheckFrame;
    int image = b.CheckBitmap.Width() / frames;
    Point at{atRight ? shot.Width() - image : 0, (shot.Height() - b.CheckBitmap.Height()) / 2};
    return StripCellMismatches(shot, b.CheckBitmap, frames, cell, at);
  };
  auto radioShown = [&](TRadioButton& r, int cell) {
    UpdateWindow(r.Handle());
    Surface shot = CaptureWindow(r.Handle());
    return StripCellMismatches(shot, b.RadioBitmap, b.RadioFrame, cell,
                               {0, (shot.Height() - b.RadioBitmap.Height()) / 2});
  };
  ASSERT_EQ(b.CheckFrame, 12);
  EXPECT_EQ(checkShown(check, 1, false), 0);
  EXPECT_GT(checkShown(check, 5, false), 0);
  EXPECT_EQ(checkShown(checkedOff, 8, false), 0);
  EXPECT_EQ(checkShown(left, 1, true), 0) << "the box at the right edge";
  // A click is the system's: it checks the box, and the skin follows.
  SendMessageA(check.Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(check.Checked());
  EXPECT_EQ(checkShown(check, 5, false), 0);
  check.SetEnabled(false);
  check.SetChecked(false);
  Pump();
  EXPECT_EQ(checkShown(check, 4, false), 0) << "unchecked and disabled";
  EXPECT_EQ(radioShown(radio, 1), 0);
  SendMessageA(radio.Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_TRUE(radio.Checked());
  EXPECT_EQ(radioShown(radio, 5), 0);
  radio2.SetChecked(true);
  Pump();
  EXPECT_FALSE(radio.Checked());
  EXPECT_EQ(radioShown(radio, 1), 0);
  EXPECT_EQ(radioShown(radio2, 5), 0);
}

// The first row from the top at column x that shows colour c, or -1.
int FirstRowOf(const Surface& shot, int x, COLORREF c) {
  for (int y = 0; y < shot.Height(); ++y)
    if ((shot.At(x, y) & 0xFFFFFF) == (PixelFromColour(static_cast<Colour>(c)) & 0xFFFFFF))
      return y;
  return -1;
}

TEST_F(SkinnedControls, GroupBoxesHaveTheRoundedFrameWithTheCaptionGap) {
  TForm& form = MakeForm();
  TGroupBox& titled = Add<TGroupBox>(form, nullptr, 10, 10, 200, 100, "Titled");
  TGroupBox& empty = Add<TGroupBox>(form, nullptr, 230, 10, 200, 100);
  TGroupBox& rtl = Add<TGroupBox>(form, nullptr, 10, 130, 200, 100, "Right");
  ShowSkinned(form);
  SetWindowLongA(rtl.Handle(), GWL_EXSTYLE,
                 GetWindowLongA(rtl.Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  RedrawWindow(rtl.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const SkinDefinition& s = data->Skin();
  COLORREF shadow =
      static_cast<COLORREF>(ResolveColour(s.Colours[SkinDefinition::kButtonShadow], s.System()));
  auto shadowRun = [&](const Surface& shot, int y, int from, int to) {
    int n = 0;
    for (int x = from; x < to; ++x)
      n += (shot.At(x, y) & 0xFFFFFF) == (PixelFromColour(static_cast<Colour>(shadow)) & 0xFFFFFF);
    return n;
  };
  for (TGroupBox* box : {&titled, &empty, &rtl}) EXPECT_EQ(Query(box->Handle()), 1);
  Surface a = CaptureWindow(empty.Handle());
  int line = FirstRowOf(a, 100, shadow);
  ASSERT_GT(line, 0);
  EXPECT_EQ(shadowRun(a, line, 5, 195), 190) << "no gap without a caption";
  EXPECT_EQ((a.At(0, 50) & 0xFFFFFF),
            (PixelFromColour(ResolveColour(s.Colours[SkinDefinition::kButtonFace], s.System())) &
             0xFFFFFF))
      << "the column left of the frame is face";
  EXPECT_EQ(shadowRun(a, 50, 1, 2), 1) << "the frame's left side";
  EXPECT_EQ(shadowRun(a, line, 0, 2), 0) << "rounded corner";
  Surface t = CaptureWindow(titled.Handle());
  EXPECT_EQ(FirstRowOf(t, 150, shadow), line);
  EXPECT_EQ(shadowRun(t, line, 10, 30), 0) << "the caption covers the line";
  EXPECT_EQ(shadowRun(t, line, 100, 195), 95);
  Surface r = CaptureWindow(rtl.Handle());
  EXPECT_EQ(shadowRun(r, line, 170, 190), 0)
      << "a right-to-left caption ends 8 pixels from the right";
  EXPECT_EQ(shadowRun(r, line, 5, 100), 95);
}

TEST_F(SkinnedControls, StatusBarsFrameTheirPanelsToTheRightEdge) {
  TForm& form = MakeForm();
  TStatusBar& simple = Add<TStatusBar>(form, nullptr, 0, 250, 400, 21);
  simple.AutoHint = false;
  TStatusBar& panels = Add<TStatusBar>(form, nullptr, 0, 290, 400, 21);
  panels.AutoHint = false;
  panels.SetSimplePanel(false);
  panels.SetPanels({{"First", 100, TStatusPanelBevel::pbRaised, TAlignment::taLeftJustify},
                    {"Last", 60, TStatusPanelBevel::pbLowered, TAlignment::taCenter}});
  ShowSkinned(form);
  const TDataSkinObject& edges = *data->Skin().StatusBarEdges;
  auto framed = [&](HWND w, const Rect& part, int cell) {
    Surface shot = CaptureWindow(w);
    Surface cellPicture =
        BuildElementBitmap({0, 0, part.Width(), part.Height()}, edges.Bitmap,
                           {edges.LeftWidth, edges.TopHeight, edges.RightWidth, edges.BottomHeight},
                           false, false, 3, cell);
    // Only the right margin: the part a short panel would leave unframed.
    return Mismatches(shot, cellPicture, {part.left, part.top},
                             {part.Width() - edges.RightWidth, 0, part.Width(), part.Height()});
  };
  EXPECT_EQ(Query(simple.Handle()), 1);
  EXPECT_EQ(framed(simple.Handle(), {0, 0, 400, 21}, 1), 0)
      << "an empty simple bar is framed whole";
  RECT last{};
  SendMessageA(panels.Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&last));
  EXPECT_EQ(framed(panels.Handle(), {last.left, last.top, 400, last.bottom}, 1), 0)
      << "the last panel reaches the edge";
  RECT first{};
  SendMessageA(panels.Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(framed(panels.Handle(), {first.left, first.top, first.right, first.bottom}, 2), 0)
      << "raised";
}

TEST_F(SkinnedControls, TheHeaderLightsTheItemUnderTheMouseOnly) {
  TForm& form = MakeForm();
  THeaderControl& header = Add<THeaderControl>(form, nullptr, 10, 10, 400, 20);
  header.SetSections({{"Name", 120},
                      {"Size", 80, TAlignment::taRightJustify},
                      {"Kind", 100, TAlignment::taCenter}});
  ShowSkinned(form);
  TSkinHeader* skin = SkinOf<TSkinHeader>(header);
  ASSERT_NE(skin, nullptr);
  const TDataSkinObject& bar = *data->Skin().Headerbar;
  auto itemShows = [&](int x0, int x1, int cell) {
    UpdateWindow(header.Handle());
    Surface shot = CaptureWindow(header.Handle());
    Surface picture =
        BuildElementBitmap({0, 0, x1 - x0, shot.Height()}, bar.Bitmap,
                           {bar.LeftWidth, bar.TopHeight, bar.RightWidth, bar.BottomHeight}, false,
                           false, bar.Frame, cell);
    // The top and bottom edges: no text reaches them.
    int h = shot.Height();
    return Mismatches(shot, picture, {x0, 0}, {0, 0, x1 - x0, bar.TopHeight}) +
           Mismatches(shot, picture, {x0, 0}, {0, h - bar.BottomHeight, x1 - x0, h});
  };
  {
    Surface normal =
        BuildElementBitmap({0, 0, 80, 20}, bar.Bitmap,
                           {bar.LeftWidth, bar.TopHeight, bar.RightWidth, bar.BottomHeight}, false,
                           false, bar.Frame, 1);
    Surface hot =
        BuildElementBitmap({0, 0, 80, 20}, bar.Bitmap,
                           {bar.LeftWidth, bar.TopHeight, bar.RightWidth, bar.BottomHeight}, false,
                           false, bar.Frame, 2);
    ASSERT_GT(Mismatches(normal, hot, {0, 0}, {0, 0, 80, bar.TopHeight}), 0)
        << "the edges tell the cells apart";
  }
  EXPECT_EQ(skin->HotItem(), -1);
  EXPECT_EQ(itemShows(120, 200, 1), 0);
  SendMessageA(header.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 8));
  EXPECT_EQ(skin->HotItem(), 1);
  EXPECT_EQ(itemShows(120, 200, 2), 0);
  EXPECT_EQ(itemShows(0, 120, 1), 0);
  SendMessageA(header.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(250, 8));
  EXPECT_EQ(skin->HotItem(), 2);
  EXPECT_EQ(itemShows(120, 200, 1), 0);
  SendMessageA(header.Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(skin->HotItem(), -1);
  EXPECT_EQ(itemShows(200, 300, 1), 0);
  EXPECT_EQ(itemShows(300, 400, 1), 0) << "the empty part right of the last item";
}

// A header's list images show in the items whose format names them: a text
// item with an image and an owner-drawn one (whose image is the list's too);
// an item without either shows none. Unskinned, the owner-drawn item is
// painted by the program. Every wait is bounded: nothing here can hang.
TEST_F(SkinnedControls, HeaderImagesShowForImageAndOwnerDrawnItemsOnly) {
  TForm& form = MakeForm();
  TImageList& images = form.Create<TImageList>();
  {
    // One 16 x 16 image, a square of a colour the skin's header never has.
    Surface square(16, 16, PixelFromColour(0x00FF00FF, 0));
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) square.At(x, y) = PixelFromColour(0x00E01020);
    UniqueBitmap bitmap = CreateDibSection(square.View(), false);
    ASSERT_EQ(images.AddMasked(bitmap.Get(), RGB(255, 0, 255)), 0);
  }
  THeaderControl& header = Add<THeaderControl>(form, nullptr, 10, 10, 390, 24);
  header.SetImages(&images);
  int ownerDrawn = 0;
  header.OnDrawSection = [&](THeaderControl&, int index, HDC dc, const RECT& rect, bool) {
    ++ownerDrawn;
    EXPECT_EQ(index, 1);
    UniqueBrush green(CreateSolidBrush(RGB(0, 200, 0)));
    FillRect(dc, &rect, green.Get());
  };
  header.SetSections({{"Image", 130, TAlignment::taLeftJustify, 0},
                      {"Drawn", 130, TAlignment::taLeftJustify, 0, THeaderSectionStyle::hsOwnerDraw},
                      {"None", 130, TAlignment::taLeftJustify, -1}});
  // Pixels of the square's colour (and of the owner's green) per item.
  auto counts = [&](Colour colour) {
    Surface shot = test::skin::CaptureSettled(header.Handle());
    std::vector<int> n(3, 0);
    for (int y = 0; y < shot.Height(); ++y)
      for (int x = 0; x < shot.Width() && x < 390; ++x)
        if (SameColour(shot.At(x, y), colour))
          ++n[static_cast<std::size_t>(x / 130)];
    return n;
  };
  ShowSkinned(form);
  ASSERT_NE(SkinOf<TSkinHeader>(header), nullptr);
  ASSERT_TRUE(data->Skin().Headerbar && !data->Skin().Headerbar->Bitmap.IsEmpty());
  const int drawnBefore = ownerDrawn;
  {
    // The owner-drawn item names its image by the owner-draw flag alone.
    HDITEMW info{};
    info.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageW(header.Handle(), HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.fmt & (HDF_OWNERDRAW | HDF_IMAGE), HDF_OWNERDRAW);
    EXPECT_EQ(info.iImage, 0);
  }
  EXPECT_EQ(counts(0x00E01020), (std::vector<int>{144, 144, 0}));
  EXPECT_EQ(ownerDrawn, drawnBefore) << "the skin paints owner-drawn items itself";

  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  ASSERT_TRUE(PumpUntil([&] { return SendMessageA(header.Handle(), WM_SKINQUERY, 0, 0) != 1; }, 3000));
  InvalidateRect(header.Handle(), nullptr, TRUE);
  ASSERT_TRUE(PumpUntil([&] { return ownerDrawn > drawnBefore; }, 3000))
      << "the system asks the program to draw its item";
  std::vector<int> green = counts(RGB(0, 200, 0));
  EXPECT_EQ(green[0], 0);
  EXPECT_GT(green[1], 100 * 18) << "the owner's painting shows";
  EXPECT_EQ(green[2], 0);
}

// The picture of the popup menu that `open` shows, taken once it is on the
// screen; the menu is then closed. Bounded: a menu that never shows (or
// never closes by itself) is closed after two seconds and gives an empty
// picture.
Surface g_menuShot;
int g_menuTicks = 0;
void CALLBACK CaptureMenuTick(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (menu && IsWindowVisible(menu) && g_menuTicks++ >= 2) {
    g_menuShot = test::skin::CaptureScreen(test::skin::WindowRectOf(menu));
    EndMenu();
  } else if (++g_menuTicks > 40) {
    EndMenu();
  }
}
Surface CaptureOpenedMenu(const std::function<void()>& open) {
  g_menuShot = Surface();
  g_menuTicks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, CaptureMenuTick);
  open();
  KillTimer(nullptr, timer);
  Pump();
  return g_menuShot;
}

// A control's own menu is painted by the skin as the form's own menus are
// (the same items look the same), and is given back at unskin; a control
// freed with its menu while skinned is simply gone at unskin.
TEST_F(SkinnedControls, AControlsOwnMenuIsPaintedLikeTheFormsMenus) {
  TForm& form = MakeForm();
  auto fill = [](TPopupMenu& menu) {
    for (const char* caption : {"Alpha", "Beta"}) {
      TMenuItem& item = menu.Create<TMenuItem>();
      item.SetCaption(caption);
      menu.Add(item);
    }
  };
  TPopupMenu& formMenu = form.Create<TPopupMenu>();
  fill(formMenu);
  TButton& button = Add<TButton>(form, nullptr, 10, 10, 90, 25, "Own menu");
  TPopupMenu& ownMenu = button.Create<TPopupMenu>();
  fill(ownMenu);
  button.PopupMenu = &ownMenu;
  TButton& spare = Add<TButton>(form, nullptr, 10, 50, 90, 25, "Freed");
  TPopupMenu& spareMenu = spare.Create<TPopupMenu>();
  fill(spareMenu);
  spare.PopupMenu = &spareMenu;
  ShowSkinned(form);
  EXPECT_EQ(Query(button.Handle()), 1) << "the button is still skinned as a button";
  ASSERT_TRUE(ownMenu.OwnerDraw);
  ASSERT_TRUE(formMenu.OwnerDraw);

  RECT b = test::skin::WindowRectOf(button.Handle());
  const POINT at{b.left + 20, b.top + 10};
  Surface formShot = CaptureOpenedMenu([&] { formMenu.Popup(at.x, at.y); });
  Surface ownShot = CaptureOpenedMenu(
      [&] { SendMessageA(button.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button.Handle()), MAKELPARAM(at.x, at.y)); });
  ASSERT_FALSE(formShot.IsEmpty());
  ASSERT_EQ(ownShot.Width(), formShot.Width());
  ASSERT_EQ(ownShot.Height(), formShot.Height());
  EXPECT_EQ(Mismatches(ownShot, formShot, {0, 0}, {0, 0, formShot.Width(), formShot.Height()}), 0);

  form.FreeComponent(&spare);
  Pump();
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(ownMenu.OwnerDraw) << "given back";
  EXPECT_FALSE(ownMenu.OnDrawItem);
  EXPECT_FALSE(formMenu.OwnerDraw);
  Surface plain = CaptureOpenedMenu([&] { ownMenu.Popup(at.x, at.y); });
  ASSERT_FALSE(plain.IsEmpty());
  EXPECT_GT(Mismatches(plain, formShot, {0, 0}, {0, 0, std::min(plain.Width(), formShot.Width()),
                                                    std::min(plain.Height(), formShot.Height())}),
            0)
      << "the system's look again";
}

TEST_F(SkinnedControls, PanelsTakeTheFaceColourAndGiveTheirOwnBack) {
  TForm& form = MakeForm();
  TPanel& panel = Add<TPanel>(form, nullptr, 10, 10, 200, 80, "Panel");
  panel.SetColor(clWhite);
  panel.ParentBackground = true;
  TButton& inside = Add<TButton>(form, &panel, 10, 10, 75, 25, "Inside");
  TSpeedButton& speed = Add<TSpeedButton>(form, &panel, 100, 10, 60, 25, "Speed");
  speed.Flat = true;
  ShowSkinned(form);
  const SkinDefinition& s = data->Skin();
  EXPECT_EQ(panel.Color(), s.Colours[SkinDefinition::kButtonFace]);
  EXPECT_FALSE(panel.ParentBackground);
  EXPECT_EQ(Query(inside.Handle()), 1) << "the panel's children are walked";
  TSkinSpeedButton* speedSkin = SkinOf<TSkinSpeedButton>(speed);
  ASSERT_NE(speedSkin, nullptr);
  panel.Repaint();
  EXPECT_EQ(speedSkin->LastCell(), 0) << "a flat speed button shows no cell until the mouse enters";
  speed.Perform(CM_MOUSEENTER);
  UpdateWindow(panel.Handle());
  EXPECT_EQ(speedSkin->LastCell(), 4);
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_EQ(panel.Color(), clWhite);
  EXPECT_TRUE(panel.ParentBackground);
  EXPECT_EQ(Query(inside.Handle()), 0);
  EXPECT_EQ(panel.ComponentCount(), 0) << "no skin object is left on the panel";
}

// A top-level window of the program's own module that is no framework form,
// with one system push button: skinned by the window class rules.
struct BareWindow {
  BareWindow() {
    RegisterPrivateClass("CorvaneBareTest", DefWindowProcA,
                         LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    window = CreateWindowExA(0, "CorvaneBareTest", "Bare", WS_OVERLAPPEDWINDOW, 150, 150, 300, 200,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    button = CreateWindowExA(0, "BUTTON", "Bare OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20,
                             90, 25, window, reinterpret_cast<HMENU>(IDOK),
                             GetModuleHandleA(nullptr), nullptr);
  }
  ~BareWindow() {
    if (IsWindow(window)) DestroyWindow(window);
  }
  HWND window = nullptr;
  HWND button = nullptr;
};

TEST_F(SkinnedControls, ABareWindowsButtonIsSkinnedAndADestroyedOneLeavesNothingBehind) {
  BareWindow bare;
  ShowWindow(bare.window, SW_SHOW);
  SetForegroundWindow(bare.window);
  ASSERT_TRUE(PumpUntil([&] { return Query(bare.button) == 1; }));
  TWinSkinForm* formSkin = TSkinManage::Instance()->FindFormSkin(bare.window);
  ASSERT_NE(formSkin, nullptr);
  ASSERT_EQ(formSkin->ControlSkins().size(), 1u);
  SetFocus(bare.window);
  EXPECT_EQ(ShownCell(bare.button), 1);
  // A press and release post the button's command to its parent.
  MSG seen{};
  SendMessageA(bare.button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageA(bare.button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(PeekMessageA(&seen, bare.window, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(LOWORD(seen.wParam), IDOK);
  EXPECT_EQ(reinterpret_cast<HWND>(seen.lParam), bare.button);
  DestroyWindow(bare.button);
  auto* skin = dynamic_cast<TSkinControl*>(formSkin->ControlSkins().front());
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->State(), kSkinWindowGone);
  formSkin->RefreshControlSkins();
  EXPECT_TRUE(formSkin->ControlSkins().empty()) << "the next walk frees it";
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_EQ(Query(bare.window), 0);
}

TEST_F(SkinnedControls, AControlFreedWhileSkinnedUnregistersAndUnskinningStillWorks) {
  TForm& form = MakeForm();
  TButton& doomed = Add<TButton>(form, nullptr, 20, 20, 75, 25, "Doomed");
  TButton& kept = Add<TButton>(form, nullptr, 110, 20, 75, 25, "Kept");
  ShowSkinned(form);
  TWinSkinForm* formSkin = TSkinManage::Instance()->FindFormSkin(form.Handle());
  std::size_t before = formSkin->ControlSkins().size();
  form.FreeComponent(&doomed);
  EXPECT_EQ(formSkin->ControlSkins().size(), before - 1);
  // A window made again for a skinned control is skinned at once.
  kept.DestroyHandle();
  ASSERT_NE(kept.Handle(), nullptr);
  ShowWindow(kept.Handle(), SW_SHOW);
  EXPECT_EQ(Query(kept.Handle()), 1);
  EXPECT_EQ(ShownCell(kept.Handle()), 1);
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_EQ(Query(kept.Handle()), 0);
  int clicks = 0;
  kept.OnClick = [&](TObject*) { ++clicks; };
  SendMessageA(kept.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1) << "the button is the system's again";
}

// What the message box showed, read from inside its modal loop.
struct BoxProbe {
  int buttons = 0;
  int skinnedButtons = 0;
  UINT key = 0;
};
BoxProbe g_probe;

void CALLBACK ProbeBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = test::FindThreadDialog();
  if (!box || SendMessageA(box, WM_SKINQUERY, 0, 0) != 1) return;
  KillTimer(nullptr, id);
  for (HWND c = GetTopWindow(box); c; c = GetWindow(c, GW_HWNDNEXT))
    if (lstrcmpiA(WindowClassName(c).c_str(), "Button") == 0) {
      ++g_probe.buttons;
      if (SendMessageA(c, WM_SKINQUERY, 0, 0) == 1) ++g_probe.skinnedButtons;
    }
  HWND focus = GetFocus();
  PostMessageA(focus ? focus : box, WM_KEYDOWN, g_probe.key, 0);
}

TEST_F(SkinnedControls, AMessageBoxsButtonsAreSkinnedAndStillAnswerReturnAndEscape) {
  TForm& form = MakeForm();
  ShowSkinned(form);
  for (UINT key : {static_cast<UINT>(VK_RETURN), static_cast<UINT>(VK_ESCAPE)}) {
    g_probe = {};
    g_probe.key = key;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeBox);
    int answer = MessageBoxA(form.Handle(), "Go on?", "Corvane", MB_OKCANCEL);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_probe.buttons, 2);
    EXPECT_EQ(g_probe.skinnedButtons, 2);
    EXPECT_EQ(answer, key == VK_RETURN ? IDOK : IDCANCEL);
  }
}

TEST_F(SkinnedControls, TwoHundredSkinCyclesOfTheEditorLeaveTheHandleCountsWhereTheyWere) {
  test::TempFolder folder;
  TForm2& editor = ShowEditor(folder);
  auto cycle = [&] { test::skin::SkinCycle(*data); };
  cycle();
  const test::skin::HandleCounts before = test::skin::CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  EXPECT_EQ(Query(editor.GroupBox1->Handle()), 1);
  EXPECT_EQ(Query(editor.Button2->Handle()), 1);
  test::skin::ExpectHandleCountsKept(before);
}

TEST_F(SkinnedControls, TheLinkEditorsButtonsAndGroupBoxesWearTheStoredSkin) {
  test::TempFolder folder;
  TForm2& editor = ShowEditor(folder, [](TForm2& e) {
    e.Button2->SetDefault(true);  // Save as the default button
    e.Button7->SetEnabled(false);
  });
  for (TButton* b :
       {editor.Button1, editor.Button11, editor.Button2, editor.Button7, editor.Button12,
        editor.Button3, editor.Button4, editor.Button5, editor.Button8, editor.Button6})
    EXPECT_EQ(Query(b->Handle()), 1) << b->Name;
  EXPECT_EQ(ShownCell(editor.Button11->Handle()), 1);
  EXPECT_EQ(ShownCell(editor.Button2->Handle()), 5) << "the default button";
  EXPECT_EQ(ShownCell(editor.Button7->Handle()), 3) << "a disabled button";
  for (TGroupBox* box : {editor.GroupBox1, editor.GroupBox2, editor.GroupBox3})
    EXPECT_EQ(Query(box->Handle()), 1);
  EXPECT_EQ(Query(editor.StatusBar1->Handle()), 1);
  // The buttons' corners show the group box around them (the skin's
  // transparent option): its face, not the system's.
  const SkinDefinition& s = data->Skin();
  Surface shot = CaptureWindow(editor.Button11->Handle());
  EXPECT_EQ(shot.At(0, 0) & 0xFFFFFF,
            PixelFromColour(ResolveColour(s.Colours[SkinDefinition::kButtonFace], s.System())) &
                0xFFFFFF);
}

// The real program: its editor's buttons follow the real mouse.
TEST(SkinnedProgramControls, TheEditorsButtonsAreHotUnderTheMouseAndPressedWhileHeld) {
  test::TempFolder folder;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(test::StartProgramCopy(folder, pi)) << "CORVANE_EXE names the program";
  auto findWindow = [&](const char* cls) { return test::FindProcessWindow(pi.dwProcessId, cls); };
  HWND launcher = nullptr;
  ASSERT_TRUE(PumpUntil(
      [&] { return (launcher = findWindow("TForm1")) && IsWindowVisible(launcher); }, 20000));
  RECT at{};
  GetWindowRect(launcher, &at);
  SetCursorPos(at.left + 5, at.top + 5);
  PostMessageA(launcher, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  Sleep(300);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  HWND editor = nullptr;
  EXPECT_TRUE(PumpUntil(
      [&] {
        return (editor = findWindow("TForm2")) && IsWindowVisible(editor) && Query(editor) == 1;
      },
      10000));
  HWND button = nullptr, box = nullptr;
  if (editor) {
    PumpUntil([] { return false; }, 500);
    struct Found {
      HWND button = nullptr, box = nullptr;
    } found;
    EnumChildWindows(
        editor,
        [](HWND w, LPARAM p) -> BOOL {
          char text[64] = {};
          GetWindowTextA(w, text, sizeof text);
          auto* f = reinterpret_cast<Found*>(p);
          if (std::string(text) == "Readme") f->button = w;
          if (std::string(text) == "Menu Links") f->box = w;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    button = found.button;
    box = found.box;
  }
  if (button && box) {
    SkinDefinition skin;
    ASSERT_EQ(LoadSkinStream(test::skin::StoredSkin(), skin), SkinLoadStatus::Loaded);
    const TDataSkinButton& b = skin.Buttons;
    auto shownCell = [&] {
      RECT r{};
      GetWindowRect(button, &r);
      Surface shot = CaptureWindow(button);
      for (int cell = 1; cell <= 5; ++cell) {
        Surface picture = BuildElementBitmap(
            {0, 0, r.right - r.left, r.bottom - r.top}, b.Bitmap,
            {b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight}, false, false, 5, cell);
        if (RingMismatches(shot, picture, b.LeftWidth, b.TopHeight, b.RightWidth, b.BottomHeight) ==
            0)
          return cell;
      }
      return 0;
    };
    EXPECT_EQ(Query(button), 1);
    EXPECT_EQ(shownCell(), 1) << "normal";
    RECT r{};
    GetWindowRect(button, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    mouse_event(MOUSEEVENTF_MOVE, 1, 0, 0, 0);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(shownCell(), 4) << "hot under the mouse";
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(shownCell(), 2) << "pressed while held";
    // Released off the button it still clicks; no readme exists here, so
    // nothing opens.
    SetCursorPos(r.left - 40, r.top - 40);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    PumpUntil([] { return false; }, 300);
    EXPECT_NE(shownCell(), 2);
    // The group box: the skin's frame line in the shadow colour, broken by
    // its caption.
    Surface frame = CaptureWindow(box);
    COLORREF shadow = static_cast<COLORREF>(
        ResolveColour(skin.Colours[SkinDefinition::kButtonShadow], skin.System()));
    int line = FirstRowOf(frame, frame.Width() / 2, shadow);
    ASSERT_GT(line, 0);
    auto isShadow = [&](int x) {
      return (frame.At(x, line) & 0xFFFFFF) ==
             (PixelFromColour(static_cast<Colour>(shadow)) & 0xFFFFFF);
    };
    EXPECT_FALSE(isShadow(12)) << "caption gap";
    EXPECT_TRUE(isShadow(frame.Width() - 20));
  } else {
    ADD_FAILURE() << "the editor's Readme button or Menu Links box was not found";
  }
  if (editor) PostMessageA(editor, WM_CLOSE, 0, 0);
  PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(test::AwaitProgramEnd(pi));
}

// The gallery: every control kind of its form is skinned, with the stored
// skin and with a skin file named on its command line.
TEST(SkinGallery, ShowsEveryControlKindSkinned) {
  const char* gallery = std::getenv("CORVANE_GALLERY");
  ASSERT_NE(gallery, nullptr) << "CORVANE_GALLERY names the gallery";
  for (bool fromFile : {false, true}) {
    std::string command = "\"" + std::string(gallery) + "\"";
    if (fromFile) command += " \"" + std::string(CORVANE_STORED_SKIN) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &si, &pi));
    // Every form of the gallery, with the fewest windows each must have.
    struct GalleryForm {
      const char* className;
      int leastWindows;
    } forms[] = {{"TGalleryForm", 25}, {"TFieldGalleryForm", 14}, {"TRangeGalleryForm", 8},
                 {"TTabGalleryForm", 16}, {"TMenuGalleryForm", 1}, {"TBarGalleryForm", 10},
                 {"TMdiFrameForm", 4}};
    HWND first = nullptr;
    for (const GalleryForm& expected : forms) {
      HWND form = nullptr;
      EXPECT_TRUE(PumpUntil(
          [&] {
            return (form = test::FindProcessWindow(pi.dwProcessId, expected.className)) &&
                   Query(form) == 1;
          },
          15000))
          << expected.className;
      if (!form) continue;
      if (!first) first = form;
      struct Count {
        int windows = 0, skinned = 0;
        std::vector<std::string> plain;
      } count;
      // Counted until every window is skinned or 5 s have passed: on a busy
      // machine the last controls are reached a moment after the form.
      auto countWindows = [&] {
        count = Count{};
        EnumChildWindows(
            form,
            [](HWND w, LPARAM p) -> BOOL {
              auto* c = reinterpret_cast<Count*>(p);
              std::string cls = WindowClassName(w);
              // A panel or band container is only coloured and a tool bar only
              // given painters: they take no messages over; a frame and an MDI
              // client keep their own look. The skin's own windows (bar
              // overlays, a picker's arrow) and a combo box's field belong to
              // the skin of the control they sit on.
              if (cls == "TPanel" || cls == "TToolBar" || cls == "TCoolBar" || cls == "TFrame" ||
                  cls == "MDIClient" || cls == "CorvaneScrollOverlay" || cls == "CorvaneDateArrow" ||
                  WindowClassName(GetParent(w)) == "TComboBox")
                return TRUE;
              ++c->windows;
              if (SendMessageA(w, WM_SKINQUERY, 0, 0) == 1)
                ++c->skinned;
              else
                c->plain.push_back(cls);
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&count));
        return count.windows >= expected.leastWindows && count.skinned == count.windows;
      };
      PumpUntil(countWindows, 5000);
      EXPECT_GE(count.windows, expected.leastWindows) << expected.className;
      EXPECT_EQ(count.skinned, count.windows)
          << expected.className << " plain: " << ::testing::PrintToString(count.plain);
    }
    if (std::getenv("CORVANE_SHOTS")) Sleep(4000);
    if (first) PostMessageA(first, WM_CLOSE, 0, 0);
    EXPECT_TRUE(test::AwaitProgramEnd(pi));
  }
}

}  // namespace
}  // namespace corvane
