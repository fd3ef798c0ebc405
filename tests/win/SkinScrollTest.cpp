// Skinned scroll bars, edits and combo boxes on live windows: the overlay
// lies exactly on the native bar and scrolls as the native bar does, follows
// its host when items come and go, the host is destroyed or moved; edit
// borders from the skin that keep typing and the clipboard; combo boxes
// whose button lights and whose list has the skin's bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/DataCtrls.h"
#include "framework/Forms.h"
#include "framework/Panels.h"
#include "launcher/main.h"
#include "launcher/supportForm.h"
#include "skin/controls/ControlRules.h"
#include "skin/controls/ScrollBarLayout.h"
#include "skin/controls/WinSkinEdits.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/controls/WinSkinScrollBars.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using test::skin::Mismatches;

using test::skin::SkinOf;

SCROLLBARINFO VerticalBar(HWND w) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  SafeGetScrollBarInfo(w, OBJID_VSCROLL, info);
  return info;
}

bool BarVisible(HWND w) { return !(VerticalBar(w).rgstate[0] & STATE_SYSTEM_INVISIBLE); }

int TopIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

// Overlay windows among the children of parent.
int OverlaysIn(HWND parent) {
  int n = 0;
  for (HWND c = GetTopWindow(parent); c; c = GetWindow(c, GW_HWNDNEXT))
    if (WindowClassName(c) == "CorvaneScrollOverlay") ++n;
  return n;
}

Surface Settled(HWND w) {
  UpdateWindow(w);
  for (int i = 0; i < 3; ++i) {
    Pump();
    Sleep(15);
  }
  return test::skin::CaptureWindow(w);
}

// A click or drag of the real mouse, queued whole before the program sees
// any of it: the system's scroll loop runs inside the press and reads the
// rest from the queue.
void Drag(POINT from, POINT to) {
  SetCursorPos(from.x, from.y);
  Pump();
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  if (from.x != to.x || from.y != to.y) {
    SetCursorPos((from.x + to.x) / 2, (from.y + to.y) / 2);
    SetCursorPos(to.x, to.y);
  }
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  for (int i = 0; i < 5; ++i) {
    Pump();
    Sleep(20);
  }
}

class SkinnedScrolling : public ::testing::Test {
 protected:
  void SetUp() override {
    test::skin::FreshStart();
  }
  void TearDown() override {
    ReleaseCapture();
    ResetApplication();
    TSkinManage::Destroy();
  }
  TForm& MakeForm(int left, int top, int tag = 0) {
    TForm& form = Application().CreateForm<TForm>();
    form.Tag = tag;
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetCaption(tag == 99 ? "Plain" : "Skinned");
    form.SetBounds(left, top, 420, 360);
    return form;
  }
  template <typename T>
  T& Add(TForm& form, TWinControl* parent, int left, int top, int width, int height,
         const std::function<void(T&)>& prepare = {}) {
    return test::skin::PlaceOn<T>(form, parent, left, top, width, height, prepare);
  }
  void ShowSkinned(TForm& form) { ASSERT_TRUE(test::skin::ShowAndAwaitSkin(form)); }
  TSkinData& Skin(const std::vector<std::uint8_t>& stream = test::skin::StoredSkin()) {
    data = &test::skin::ActiveSkinData(stream);
    return *data;
  }
  // The overlay of a control's vertical bar.
  static TWScrollbar* VerticalOverlay(TControl& control) {
    TSkinScrollbar* skin = SkinOf<TSkinScrollbar>(control);
    return skin ? skin->VerticalBar() : nullptr;
  }
  TSkinData* data = nullptr;
};

// The real editor with 60 links: the overlay covers the native bar exactly,
// wears the skin's arrows, and the same mouse actions scroll it exactly as
// they scroll a plain list of the same items.
TEST_F(SkinnedScrolling, TheEditorsListScrollsUnderTheSkinnedBarAsAPlainListDoes) {
  test::TempFolder folder;
  std::string ini = folder.File("Corvane.ini");
  std::vector<std::string> names;
  for (int i = 0; i < 60; ++i) {
    char name[16];
    wsprintfA(name, "Link %02d", i);
    names.push_back(name);
    WritePrivateProfileStringA(name, "Link", "C:\\windows\\notepad.exe", ini.c_str());
  }
  TForm1& launcher = Application().CreateForm<TForm1>(ini);
  launcher.Show();
  TForm2& editor = Application().CreateForm<TForm2>();
  editor.SkinData1->SetSkinStream(test::skin::StoredSkin());
  editor.SkinData1->SetActive(true);
  data = editor.SkinData1;
  ShowSkinned(editor);
  RECT at = test::skin::WindowRectOf(editor.Handle());
  SetWindowPos(editor.Handle(), nullptr, 1270 - (at.right - at.left), 20, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  TListBox& list = *editor.ListBox1;
  ASSERT_EQ(list.Count(), 60);

  TForm& plainForm = MakeForm(10, 20, 99);
  RECT listAt = test::skin::WindowRectOf(list.Handle());
  TListBox& plain = Add<TListBox>(plainForm, nullptr, 20, 20, listAt.right - listAt.left,
                                  listAt.bottom - listAt.top, [&](TListBox& l) {
                                    l.ItemHeight = list.ItemHeight;
                                    l.IntegralHeight = false;
                                  });
  plain.SetItems(list.Items());
  plainForm.Show();
  Pump();
  ASSERT_EQ(SendMessageA(plain.Handle(), WM_SKINQUERY, 0, 0), 0);
  ASSERT_EQ(plain.ClientHeight(), list.ClientHeight()) << "the same rows shown";

  TWScrollbar* overlay = VerticalOverlay(list);
  ASSERT_NE(overlay, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return overlay->Shown(); }));
  SCROLLBARINFO native = VerticalBar(list.Handle());
  EXPECT_TRUE(test::skin::SameRect(test::skin::WindowRectOf(overlay->Window()), native.rcScrollBar));
  EXPECT_FALSE(SkinOf<TSkinScrollbar>(list)->HorizontalBar()->Shown());

  // The down arrow is the strip's cell 13 over the face colour.
  const TDataSkinObject& strip = *data->Skin().Scrollbar;
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  int barWidth = native.rcScrollBar.right - native.rcScrollBar.left;
  int barHeight = native.rcScrollBar.bottom - native.rcScrollBar.top;
  int thick = ScrollBarThickness(strip.Bitmap.Height(), arrow);
  Surface expected(thick, arrow, 0xFFFF00FF);
  DrawFrameCell(expected.View(), expected.View().Bounds(), strip.Bitmap, false, kScrollStripFrames,
                kDownArrowFrame);
  Surface shot = Settled(overlay->Window());
  EXPECT_EQ(Mismatches(shot, expected, {0, barHeight - arrow}, expected.View().Bounds()), 0);
  EXPECT_LE(thick, barWidth);

  // The same three actions on both lists, at the same places of their bars.
  auto act = [&](HWND w, const std::function<void(const SCROLLBARINFO&)>& action) {
    action(VerticalBar(w));
    return TopIndex(w);
  };
  auto clickDownArrow = [](const SCROLLBARINFO& b) {
    POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 4};
    Drag(p, p);
  };
  auto clickBelowThumb = [](const SCROLLBARINFO& b) {
    POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
            b.rcScrollBar.top + b.xyThumbBottom + 6};
    Drag(p, p);
  };
  auto dragThumb = [](const SCROLLBARINFO& b) {
    POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2,
            b.rcScrollBar.top + (b.xyThumbTop + b.xyThumbBottom) / 2};
    Drag(p, {p.x, p.y + 37});
  };
  for (auto& action : std::vector<std::function<void(const SCROLLBARINFO&)>>{
           clickDownArrow, clickBelowThumb, dragThumb}) {
    int plainTop = act(plain.Handle(), action);
    int skinnedTop = act(list.Handle(), action);
    EXPECT_GT(plainTop, 0);
    EXPECT_EQ(skinnedTop, plainTop);
  }
  // After the drag the skin's thumb is where the system's is.
  ASSERT_TRUE(PumpUntil([&] {
    SCROLLBARINFO now = VerticalBar(list.Handle());
    return overlay->ThumbTop() == now.xyThumbTop && !overlay->Tracking();
  }));
  // Scrolling by code (as keys and the wheel do) sends no scroll message,
  // but the skin's thumb follows.
  int thumbBefore = overlay->ThumbTop();
  SendMessageA(list.Handle(), LB_SETTOPINDEX, 41, 0);
  Pump();
  ASSERT_NE(VerticalBar(list.Handle()).xyThumbTop, thumbBefore);
  EXPECT_EQ(overlay->ThumbTop(), VerticalBar(list.Handle()).xyThumbTop);
  if (std::getenv("CORVANE_SHOTS")) Sleep(4000);
}

TEST_F(SkinnedScrolling, AListShowsItsBarOnlyWhileItsItemsOverflow) {
  Skin();
  TForm& form = MakeForm(100, 100);
  TListBox& list = Add<TListBox>(form, nullptr, 20, 20, 150, 100);
  list.SetItems({"one", "two"});
  ShowSkinned(form);
  TWScrollbar* overlay = VerticalOverlay(list);
  ASSERT_NE(overlay, nullptr);
  EXPECT_FALSE(BarVisible(list.Handle()));
  EXPECT_FALSE(overlay->Shown());
  EXPECT_FALSE(IsWindowVisible(overlay->Window()));
  int added = 0;
  while (!BarVisible(list.Handle()) && added < 50) list.Add("item " + std::to_string(added++));
  ASSERT_TRUE(BarVisible(list.Handle()));
  ASSERT_TRUE(PumpUntil([&] { return overlay->Shown(); }));
  EXPECT_TRUE(IsWindowVisible(overlay->Window()));
  EXPECT_TRUE(test::skin::SameRect(test::skin::WindowRectOf(overlay->Window()),
                                   VerticalBar(list.Handle()).rcScrollBar));
  list.Clear();
  ASSERT_TRUE(PumpUntil([&] { return !overlay->Shown(); }));
  // Hidden with its host.
  list.Add("x");
  for (int i = 0; i < 30; ++i) list.Add("more " + std::to_string(i));
  ASSERT_TRUE(PumpUntil([&] { return overlay->Shown(); }));
  list.SetVisible(false);
  Pump();
  EXPECT_FALSE(IsWindowVisible(overlay->Window()));
}

TListBox* g_recreated = nullptr;
void CALLBACK RecreateList(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_recreated) g_recreated->SetMultiSelect(!g_recreated->MultiSelect());
}
void CALLBACK ReleaseButton(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
}

// A list re-created with another style (several items selectable) keeps
// skinned bars: a fresh skin lies on the new window's bar and scrolls it,
// the old overlays are gone; re-created while its arrow is held down, the
// press ends with the old window and the new one is skinned all the same.
TEST_F(SkinnedScrolling, AListReCreatedWithAnotherStyleKeepsSkinnedBars) {
  Skin();
  TForm& form = MakeForm(100, 100);
  TListBox& list = Add<TListBox>(form, nullptr, 20, 20, 150, 100);
  for (int i = 0; i < 40; ++i) list.Add("item " + std::to_string(i));
  ShowSkinned(form);
  ASSERT_TRUE(PumpUntil([&] { return VerticalOverlay(list) && VerticalOverlay(list)->Shown(); }));
  HWND formWindow = form.Handle();
  auto onNewBar = [&] {
    TWScrollbar* overlay = VerticalOverlay(list);
    return overlay && overlay->Shown() &&
           test::skin::SameRect(test::skin::WindowRectOf(overlay->Window()), VerticalBar(list.Handle()).rcScrollBar);
  };
  auto clickDownArrow = [&] {
    SCROLLBARINFO b = VerticalBar(list.Handle());
    POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 4};
    Drag(p, p);
  };

  HWND old = list.Handle();
  list.SetMultiSelect(true);
  ASSERT_NE(list.Handle(), old);
  ASSERT_TRUE(GetWindowLongA(list.Handle(), GWL_STYLE) & LBS_EXTENDEDSEL);
  EXPECT_EQ(list.Count(), 40);
  ASSERT_TRUE(PumpUntil(onNewBar)) << "a fresh overlay on the new window's bar";
  EXPECT_EQ(OverlaysIn(formWindow), 2) << "the old skin's overlays went";
  TWinSkinForm* formSkin = TSkinManage::Instance()->FindFormSkin(formWindow);
  ASSERT_NE(formSkin, nullptr);
  EXPECT_EQ(std::count_if(formSkin->ControlSkins().begin(), formSkin->ControlSkins().end(),
                          [&](TComponent* c) { return c->Owner() == &list; }),
            1);
  EXPECT_EQ(SendMessageA(list.Handle(), WM_SKINQUERY, 0, 0), 1);
  // The skinned bar scrolls the new window and follows it.
  clickDownArrow();
  EXPECT_EQ(TopIndex(list.Handle()), 1) << "the press reached the new window";
  SendMessageA(list.Handle(), WM_VSCROLL, SB_BOTTOM, 0);
  ASSERT_TRUE(PumpUntil([&] {
    return VerticalOverlay(list)->ThumbTop() == VerticalBar(list.Handle()).xyThumbTop;
  }));

  // Re-created while the down arrow is held: a timer inside the system's
  // scroll loop re-creates the list, another lets the button go.
  g_recreated = &list;
  SCROLLBARINFO b = VerticalBar(list.Handle());
  SendMessageA(list.Handle(), WM_VSCROLL, SB_TOP, 0);
  POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 4};
  SetCursorPos(p.x, p.y);
  Pump();
  SetTimer(nullptr, 0, 150, RecreateList);
  SetTimer(nullptr, 0, 400, ReleaseButton);
  mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
  PumpUntil([&] { return !list.MultiSelect() && (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; }, 3000);
  for (int i = 0; i < 5; ++i) {
    Pump();
    Sleep(30);
  }
  g_recreated = nullptr;
  ASSERT_FALSE(list.MultiSelect()) << "re-created during the press";
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_TRUE(PumpUntil(onNewBar));
  EXPECT_EQ(OverlaysIn(formWindow), 2);
  int top = TopIndex(list.Handle());
  clickDownArrow();
  EXPECT_EQ(TopIndex(list.Handle()), top + 1);
}

TEST_F(SkinnedScrolling, HostsDestroyedMovedOrAtTheirLimitsLeaveNoOverlayBehind) {
  Skin();
  TForm& form = MakeForm(100, 100);
  TPanel& panel = Add<TPanel>(form, nullptr, 200, 10, 200, 200);
  TListBox& doomed = Add<TListBox>(form, nullptr, 10, 10, 150, 80);
  TListBox& moved = Add<TListBox>(form, nullptr, 10, 100, 150, 80);
  std::vector<std::string> many;
  for (int i = 0; i < 40; ++i) many.push_back("item " + std::to_string(i));
  doomed.SetItems(many);
  moved.SetItems(many);
  // Scroll-bar controls at the limits of their ranges.
  struct Range {
    int pos, min, max, page;
  } ranges[] = {{0, 0, 0, 0}, {99999, 0, 99999, 10}, {3, 0, 5, 50}, {-5, -50, 50, 0}, {0, 0, 1, 1}};
  std::vector<TScrollBar*> bars;
  int y = 200;
  for (const Range& r : ranges) {
    TScrollBar& bar = Add<TScrollBar>(form, nullptr, 10, y, 180, 17);
    bar.SetParams(r.pos, r.min, r.max, r.page);
    bars.push_back(&bar);
    y += 22;
  }
  ShowSkinned(form);
  HWND formWindow = form.Handle();
  ASSERT_TRUE(PumpUntil([&] { return OverlaysIn(formWindow) == 2 * 2 + 5; }))
      << OverlaysIn(formWindow) << " overlays: two per list, one per bar control";
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  for (TScrollBar* bar : bars) {
    TSkinScControl* skin = SkinOf<TSkinScControl>(*bar);
    ASSERT_NE(skin, nullptr);
    ASSERT_TRUE(skin->Bar()->Shown());
    EXPECT_TRUE(test::skin::SameRect(test::skin::WindowRectOf(skin->Bar()->Window()),
                                     test::skin::WindowRectOf(bar->Handle())));
    Settled(skin->Bar()->Window());
    EXPECT_GE(skin->Bar()->ThumbTop(), arrow) << bar->Position();
    EXPECT_LE(skin->Bar()->ThumbBottom(), bar->Width() - arrow) << bar->Position();
    EXPECT_GE(skin->Bar()->ThumbBottom() - skin->Bar()->ThumbTop(), 8) << bar->Position();
  }
  // A line click on the control's overlay moves the control's position.
  TScrollBar& first = *bars[4];
  RECT r = test::skin::WindowRectOf(first.Handle());
  Drag({r.right - 4, r.top + 8}, {r.right - 4, r.top + 8});
  EXPECT_EQ(first.Position(), 1);

  form.FreeComponent(&doomed);
  Pump();
  EXPECT_EQ(OverlaysIn(formWindow), 2 + 5) << "the freed list's two went with it";
  moved.SetParent(&panel);
  moved.SetBounds(10, 10, 150, 80);
  Pump();
  TWScrollbar* overlay = VerticalOverlay(moved);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(GetParent(overlay->Window()), panel.Handle());
  EXPECT_TRUE(test::skin::SameRect(test::skin::WindowRectOf(overlay->Window()),
                                   VerticalBar(moved.Handle()).rcScrollBar));
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_EQ(OverlaysIn(formWindow) + OverlaysIn(panel.Handle()), 0);
}

TEST_F(SkinnedScrolling, WithoutTheScrollPicturesTheSystemsBarsStay) {
  Skin(test::skin::AlteredSkin({{"scrollbararrow.bmp", {}}, {"comboboxbtn.bmp", {}}}));
  ASSERT_FALSE(data->SkinEmpty());
  TForm& form = MakeForm(100, 100);
  TListBox& list = Add<TListBox>(form, nullptr, 20, 20, 150, 60);
  for (int i = 0; i < 30; ++i) list.Add("item " + std::to_string(i));
  TComboBox& combo = Add<TComboBox>(form, nullptr, 20, 120, 150, 21);
  combo.SetItems({"a", "b"});
  ShowSkinned(form);
  Pump();
  EXPECT_EQ(OverlaysIn(form.Handle()), 0);
  EXPECT_TRUE(BarVisible(list.Handle()));
  int before = TopIndex(list.Handle());
  SCROLLBARINFO b = VerticalBar(list.Handle());
  POINT p{(b.rcScrollBar.left + b.rcScrollBar.right) / 2, b.rcScrollBar.bottom - 4};
  Drag(p, p);
  EXPECT_EQ(TopIndex(list.Handle()), before + 1) << "the native bar scrolls";
  EXPECT_EQ(SendMessageA(combo.Handle(), WM_SKINQUERY, 0, 0), 1);
  Surface shot = Settled(combo.Handle());
  EXPECT_GT(shot.Width(), 0);
}

// The editor's fields: the skin's shadow ring outside, two white rings
// inside; typing, selection and the clipboard work as ever.
TEST_F(SkinnedScrolling, EditsWearTheSkinsBorderAndKeepTypingAndTheClipboard) {
  test::TempFolder folder;
  TForm1& launcher = Application().CreateForm<TForm1>(folder.File("Corvane.ini"));
  launcher.Show();
  TForm2& editor = Application().CreateForm<TForm2>();
  editor.SkinData1->SetSkinStream(test::skin::StoredSkin());
  editor.SkinData1->SetActive(true);
  data = editor.SkinData1;
  ShowSkinned(editor);
  const SkinDefinition& s = data->Skin();
  Pixel shadow = PixelFromColour(ResolveColour(s.Colours[SkinDefinition::kButtonShadow], s.System()));
  for (TEdit* edit : {editor.Edit1, editor.Edit2, editor.Edit3}) {
    ASSERT_NE(SkinOf<TSkinEdit>(*edit), nullptr) << edit->Name;
    Surface shot = Settled(edit->Handle());
    int w = shot.Width(), h = shot.Height();
    int bad = 0;
    for (int ring = 0; ring < 3; ++ring) {
      Pixel want = ring == 0 ? shadow : 0xFFFFFFFF;
      for (int x = ring; x < w - ring; ++x)
        bad += (shot.At(x, ring) & 0xFFFFFF) != (want & 0xFFFFFF) ||
               (shot.At(x, h - 1 - ring) & 0xFFFFFF) != (want & 0xFFFFFF);
      for (int y = ring; y < h - ring; ++y)
        bad += (shot.At(ring, y) & 0xFFFFFF) != (want & 0xFFFFFF) ||
               (shot.At(w - 1 - ring, y) & 0xFFFFFF) != (want & 0xFFFFFF);
    }
    EXPECT_EQ(bad, 0) << edit->Name;
  }
  editor.Edit2->SetFocus();
  editor.Edit2->Clear();
  for (char c : std::string("HARBOUR")) {
    keybd_event(static_cast<BYTE>(c), 0, 0, 0);
    keybd_event(static_cast<BYTE>(c), 0, KEYEVENTF_KEYUP, 0);
  }
  ASSERT_TRUE(PumpUntil([&] { return editor.Edit2->Text().size() == 7; }));
  EXPECT_EQ(AsciiUpper(editor.Edit2->Text()), "HARBOUR");
  SendMessageA(editor.Edit2->Handle(), EM_SETSEL, 0, -1);
  SendMessageA(editor.Edit2->Handle(), WM_COPY, 0, 0);
  editor.Edit3->Clear();
  SendMessageA(editor.Edit3->Handle(), WM_PASTE, 0, 0);
  EXPECT_EQ(editor.Edit3->Text(), editor.Edit2->Text());
  // Still the skin's border after all that.
  Surface after = Settled(editor.Edit3->Handle());
  EXPECT_EQ(after.At(0, 0) & 0xFFFFFF, shadow & 0xFFFFFF);
  EXPECT_EQ(after.At(1, 1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(SkinnedScrolling, AComboBoxsButtonLightsAndItsListHasTheSkinsBar) {
  Skin();
  TForm& form = MakeForm(100, 100);
  TComboBox& combo = Add<TComboBox>(form, nullptr, 20, 20, 160, 21, [](TComboBox& c) {
    c.Style = TComboBoxStyle::csDropDownList;
  });
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("choice " + std::to_string(i));
  combo.SetItems(items);
  combo.SetItemIndex(0);
  ShowSkinned(form);
  TSkinComBox* skin = SkinOf<TSkinComBox>(combo);
  ASSERT_NE(skin, nullptr);
  const TDataSkinBorder& button = *data->Skin().ComboButton;
  auto buttonCell = [&](int cell) {
    RECT b = skin->ButtonRect();
    Surface pic(b.right - b.left, b.bottom - b.top, 0xFFFF00FF);
    DrawFrameCell(pic.View(), pic.View().Bounds(), button.Bitmap, false, 4, cell);
    return Mismatches(Settled(combo.Handle()), pic, {b.left, b.top}, pic.View().Bounds());
  };
  EXPECT_EQ(buttonCell(1), 0);
  RECT at = test::skin::WindowRectOf(combo.Handle());
  RECT b = skin->ButtonRect();
  SetCursorPos(at.left + (b.left + b.right) / 2, at.top + (b.top + b.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return skin->Hot(); }));
  EXPECT_EQ(buttonCell(4), 0);
  SetCursorPos(at.left + 10, at.top + 10);
  ASSERT_TRUE(PumpUntil([&] { return !skin->Hot(); }));
  EXPECT_EQ(buttonCell(1), 0) << "back to normal off the button";

  SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, TRUE, 0);
  Pump();
  HWND list = skin->ListWindow();
  ASSERT_NE(list, nullptr);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(list); }));
  ASSERT_NE(skin->ListBar(), nullptr);
  SCROLLBARINFO bar = VerticalBar(list);
  ASSERT_TRUE(BarVisible(list));
  const TDataSkinObject& strip = *data->Skin().Scrollbar;
  int arrow = GetSystemMetrics(SM_CXHSCROLL);
  int thick = ScrollBarThickness(strip.Bitmap.Height(), arrow);
  Surface up(thick, arrow, 0xFFFF00FF);
  DrawFrameCell(up.View(), up.View().Bounds(), strip.Bitmap, false, kScrollStripFrames,
                kUpArrowFrame);
  RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Surface shot = Settled(list);
  RECT listAt = test::skin::WindowRectOf(list);
  EXPECT_EQ(Mismatches(shot, up, {bar.rcScrollBar.left - listAt.left, bar.rcScrollBar.top - listAt.top},
                       up.View().Bounds()),
            0);
  // A click on the list's down arrow scrolls the list by one line.
  int before = TopIndex(list);
  POINT p{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - 4};
  Drag(p, p);
  EXPECT_EQ(TopIndex(list), before + 1);
  if (std::getenv("CORVANE_SHOTS")) Sleep(4000);
  SendMessageA(combo.Handle(), CB_SHOWDROPDOWN, FALSE, 0);
  Pump();
}

// The always-open list of a simple combo box gets overlays on its bar; a
// date-time picker gets the skin's arrow over its own button.
TEST_F(SkinnedScrolling, SimpleCombosAndDatePickersWearTheSkinToo) {
  Skin();
  TForm& form = MakeForm(100, 100);
  TComboBox& simple = Add<TComboBox>(form, nullptr, 20, 20, 160, 90, [](TComboBox& c) {
    c.Style = TComboBoxStyle::csSimple;
  });
  std::vector<std::string> items;
  for (int i = 0; i < 30; ++i) items.push_back("always " + std::to_string(i));
  simple.SetItems(items);
  TDateTimePicker& picker = Add<TDateTimePicker>(form, nullptr, 20, 130, 160, 21);
  ShowSkinned(form);
  TSkinComBox* skin = SkinOf<TSkinComBox>(simple);
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(skin->ListSkin(), nullptr);
  TWScrollbar* overlay = skin->ListSkin()->VerticalBar();
  ASSERT_TRUE(PumpUntil([&] { return overlay->Shown(); }));
  EXPECT_TRUE(test::skin::SameRect(test::skin::WindowRectOf(overlay->Window()),
                                   VerticalBar(skin->ListWindow()).rcScrollBar));
  EXPECT_EQ(GetParent(overlay->Window()), simple.Handle());

  TSkinDateTime* date = SkinOf<TSkinDateTime>(picker);
  ASSERT_NE(date, nullptr);
  HWND arrow = date->ArrowWindow();
  ASSERT_TRUE(arrow && IsWindowVisible(arrow));
  const TDataSkinObject& arrows = *data->Skin().ComboxArrow;
  RECT r{};
  GetClientRect(arrow, &r);
  Surface expected(r.right, r.bottom, 0xFFFF00FF);
  DrawFrameCell(expected.View(), expected.View().Bounds(), arrows.Bitmap, false,
                std::max(arrows.Frame, 1), 1);
  EXPECT_EQ(Mismatches(Settled(arrow), expected, {0, 0}, expected.View().Bounds()), 0);
  data->SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  EXPECT_FALSE(IsWindow(arrow)) << "the arrow goes with the skin";
  EXPECT_EQ(OverlaysIn(simple.Handle()), 0);
}

}  // namespace
}  // namespace corvane
