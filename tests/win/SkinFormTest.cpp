// Skinned windows for real: the manager's hook skins a framework form and a
// message box as they are activated; frame size, pixels, hit testing, the
// region, dragging and unskinning are checked on the live windows.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "pictures/WinSurface.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

class SkinnedWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    TSkinManage::Destroy();
    data = &test::skin::ActiveSkinData();
    ASSERT_FALSE(data->SkinEmpty());
    data->OnSkinChanged = [this](TObject*) { ++skinChanges; };
  }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }

  // A dialog-framed form like the link editor: client 531 x 330.
  TForm& ShowDialog(const char* caption = "Skinned dialog") {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.BorderIcons = biSystemMenu | biMinimize;
    form.SetCaption(caption);
    form.SetBounds(200, 150, 400, 300);
    form.SetClientSize(531, 330);
    form.Handle();
    before = ClientOnScreen(form.Handle());
    form.Show();
    SetForegroundWindow(form.Handle());
    EXPECT_TRUE(PumpUntil([&] { return Skin(form.Handle()) && Skin(form.Handle())->FrameState() == kFrameActive; }));
    Pump();
    return form;
  }
  TWinSkinForm* Skin(HWND w) { return TSkinManage::Instance()->FindFormSkin(w); }
  // Runs a requested action now instead of waiting for the timer.
  void RunRequested() {
    ASSERT_TRUE(TSkinManage::Instance()->ActionScheduled());
    TSkinManage::Instance()->RunPendingAction();
    Pump();
  }

  TSkinData* data = nullptr;
  RECT before{};
  int skinChanges = 0;
};

TEST_F(SkinnedWindows, ADialogWearsTheSkinsFrameAroundTheSameClientArea) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  TWinSkinForm* skin = Skin(w);
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->Metrics(), (FrameMetrics{4, 25, 4, 5}));
  RECT window = WindowRectOf(w);
  EXPECT_EQ(window.right - window.left, 531 + 8);
  EXPECT_EQ(window.bottom - window.top, 330 + 30);
  RECT client{};
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 531);
  EXPECT_EQ(client.bottom, 330);
  RECT onScreen = ClientOnScreen(w);
  EXPECT_EQ(onScreen.left - window.left, 4);
  EXPECT_EQ(onScreen.top - window.top, 25);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinnedWindows, FramePixelsComeFromTheSkinsPicturesActiveAndInactive) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  const SkinDefinition& s = data->Skin();
  RECT r = WindowRectOf(w);
  int W = r.right - r.left, H = r.bottom - r.top;
  for (bool active : {true, false}) {
    if (!active) {
      // Another window takes the activation.
      HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                   nullptr, nullptr, nullptr);
      SetActiveWindow(other);
      Pump();
      SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
      Pump();
      EXPECT_FALSE(Skin(w)->IsActive());
      DestroyWindow(other);
      SendMessageA(w, WM_NCACTIVATE, FALSE, 0);
    }
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    Surface shot = CaptureScreen(r);
    int cell = active ? 1 : 2;
    Surface left = ComposeBorder(s.BorderLeft, {4, H}, false, cell);
    Surface right = ComposeBorder(s.BorderRight, {4, H}, false, cell);
    Surface bottom = ComposeBorder(s.BorderBottom, {W - 8, 5}, true, cell);
    Surface caption = ComposeBorder(s.BorderTop, {W - 8, 25}, true, cell);
    EXPECT_EQ(Mismatches(shot, left, {0, 0}, left.View().Bounds()), 0) << "left, active " << active;
    EXPECT_EQ(Mismatches(shot, right, {W - 4, 0}, right.View().Bounds()), 0) << "right";
    EXPECT_EQ(Mismatches(shot, bottom, {4, H - 5}, bottom.View().Bounds()), 0) << "bottom";
    // The caption bar beyond its text and before where buttons go.
    Rect text = Skin(w)->TextRect();
    Rect plain{text.right - 4 + 1, 0, W - 8 - 80, 25};
    ASSERT_FALSE(plain.IsEmpty());
    EXPECT_EQ(Mismatches(shot, caption, {4, 0}, plain), 0) << "caption";
    // The text itself is drawn over the bar.
    Rect textArea{text.left - 4, 0, text.right - 4, 25};
    EXPECT_GT(Mismatches(shot, caption, {4, 0}, textArea.Intersect({0, 0, W - 8, 25})), 20);
    // Both cells differ somewhere, so the comparison above tells them apart.
    Surface other = ComposeBorder(s.BorderTop, {W - 8, 25}, true, 3 - cell);
    EXPECT_NE(other, caption);
  }
}

TEST_F(SkinnedWindows, HitTestingDraggingAndTheRegion) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  RECT r = WindowRectOf(w);
  auto hit = [&](int x, int y) {
    return SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
  };
  EXPECT_EQ(hit(200, 4), HTCAPTION);
  EXPECT_EQ(hit(200, 20), HTCAPTION);
  EXPECT_EQ(hit(200, 100), HTCLIENT);
  // The top rows keep the system's answer.
  for (int y : {0, 1, 2, 3})
    EXPECT_EQ(hit(200, y), DefWindowProcA(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + 200, r.top + y))) << y;

  // Magenta corners are outside the window: a point there finds what is below.
  const Surface& leftPicture = data->Skin().BorderLeft.Bitmap;
  ASSERT_TRUE(SameColour(leftPicture.At(0, 0), kColourKey)) << "the stored skin's corner is cut";
  EXPECT_NE(WindowFromPoint({r.left, r.top}), w);
  EXPECT_EQ(WindowFromPoint({r.left + 200, r.top + 10}), w);

  // Dragging the caption with the mouse moves the window. The system's move
  // loop runs inside this thread's message dispatch, so the hand on the
  // mouse is another thread.
  SetCursorPos(r.left + 200, r.top + 12);
  Pump();
  std::thread hand([&] {
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    for (int i = 1; i <= 5; ++i) {
      Sleep(40);
      SetCursorPos(r.left + 200 + 10 * i, r.top + 12 + 6 * i);
      mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    }
    Sleep(40);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  });
  PumpUntil([&] { return WindowRectOf(w).left == r.left + 50; }, 3000);
  hand.join();
  Pump();
  RECT moved = WindowRectOf(w);
  EXPECT_EQ(moved.left - r.left, 50);
  EXPECT_EQ(moved.top - r.top, 30);
}

TEST_F(SkinnedWindows, CaptionButtonsArePaintedFromTheSkinAndAct) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  RECT r = WindowRectOf(w);
  int W = r.right - r.left;
  const SkinDefinition& s = data->Skin();
  // A dialog frame has neither minimise nor maximise box: of the stored
  // skin's buttons only close shows, 30 pixels from the right edge.
  const TDataSkinSysButton* close = nullptr;
  for (const auto& b : s.CaptionButtons)
    if (b->Action == 0) close = b.get();
  ASSERT_NE(close, nullptr);
  Surface shot = CaptureScreen(r);
  Surface expected = CellPicture(close->Bitmap, close->Frame, 1);
  EXPECT_EQ(Mismatches(shot, expected, {W - close->XCoord, close->YCoord}, expected.View().Bounds()), 0);
  Surface bar = ComposeBorder(s.BorderTop, {W - 8, 25}, true, 1);
  EXPECT_EQ(Mismatches(shot, bar, {4, 0}, {W - 4 - 73, 0, W - 4 - 32, 25}), 0) << "no minimise or maximise";

  auto click = [&](int x, int y) {
    SetCursorPos(r.left + x, r.top + y);
    Pump();
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    PumpUntil([] { return false; }, 200);
  };
  click(W - 73 + 8, 12);  // where a minimise button would be: only the caption
  EXPECT_FALSE(IsIconic(w));
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_TRUE(SameRect(WindowRectOf(w), r));
  click(W - close->XCoord + 8, 12);
  EXPECT_FALSE(IsWindowVisible(w)) << "the form hides on close";
}

TEST_F(SkinnedWindows, TheRegionIsBuiltOncePerSize) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  TWinSkinForm* skin = Skin(w);
  int builds = skin->RegionBuilds();
  EXPECT_GE(builds, 1);
  for (int i = 0; i < 5; ++i) {
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    SendMessageA(w, WM_NCACTIVATE, i % 2, 0);
    SetWindowPos(w, nullptr, 100 + i, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
  }
  EXPECT_EQ(skin->RegionBuilds(), builds) << "painting, activation and moving keep the region";
  RECT r = WindowRectOf(w);
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left + 20, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
  Pump();
  EXPECT_EQ(skin->RegionBuilds(), builds + 1);
}

TEST_F(SkinnedWindows, UnskinRestoresTheSystemFrameAndCyclesLeakNothing) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  RECT skinnedClient = ClientOnScreen(w);

  data->SetActive(false);
  RunRequested();
  EXPECT_EQ(Skin(w), nullptr);
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(SameRect(ClientOnScreen(w), before)) << "the client area is back where it was";
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_SYSMENU);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(w, probe), ERROR) << "no region left";
  DeleteObject(probe);

  data->SetActive(true);
  RunRequested();
  ASSERT_TRUE(PumpUntil([&] { return Skin(w) && Skin(w)->FrameState() == kFrameActive; }));
  EXPECT_TRUE(SameRect(ClientOnScreen(w), skinnedClient));
  EXPECT_EQ(skinChanges, 2);

  // Many cycles straight through the manager leave every count where it was.
  auto cycle = [&] {
    data->SetActive(false);
    RunRequested();
    data->SetActive(true);
    RunRequested();
    PumpUntil([&] { return Skin(w) && Skin(w)->FrameState() == kFrameActive; });
  };
  cycle();
  const test::skin::HandleCounts before = test::skin::CurrentHandleCounts();
  for (int i = 0; i < 200; ++i) cycle();
  test::skin::ExpectHandleCountsKept(before, 2);
  // The window still works and is still skinned once.
  EXPECT_EQ(TSkinManage::Instance()->FormSkins().size(), 1u);
  EXPECT_TRUE(SameRect(ClientOnScreen(w), skinnedClient));
  form.SetCaption("still alive");
  Pump();
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinnedWindows, TwoTogglesWithinTheDelayRunOnlyTheLast) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  data->SetActive(false);
  data->SetActive(true);
  EXPECT_EQ(TSkinManage::Instance()->ActionDelay(), 250);
  PumpUntil([&] { return !TSkinManage::Instance()->ActionScheduled(); }, 2000);
  Pump();
  EXPECT_EQ(skinChanges, 1) << "one action ran";
  EXPECT_NE(Skin(w), nullptr) << "and it was the last request: skin";
  EXPECT_EQ(SendMessageA(w, WM_SKINQUERY, 0, 0), 1);
}

TEST_F(SkinnedWindows, DestroyingASkinnedWindowLeavesNothingBehind) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  form.DestroyHandle();
  EXPECT_FALSE(IsWindow(w));
  TSkinManage::Instance()->PurgeDeadFormSkins();
  EXPECT_TRUE(TSkinManage::Instance()->FormSkins().empty());
  // The form lives on and gets a fresh window, skinned again when shown.
  form.Show();
  SetForegroundWindow(form.Handle());
  EXPECT_TRUE(PumpUntil([&] { return Skin(form.Handle()) != nullptr; }));
}

TEST_F(SkinnedWindows, BadSkinFilesKeepThePreviousFrameOrGiveTheSystemsBack) {
  TForm& form = ShowDialog();
  HWND w = form.Handle();
  RECT r = WindowRectOf(w);
  test::TempFolder folder;
  std::vector<std::uint8_t> stored = StoredSkin();
  auto load = [&](const std::vector<std::uint8_t>& bytes) {
    std::string path = folder.File("broken.skn");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    test::MessageBoxSeen seen = test::CatchMessageBoxes([&] {
      data->SetSkinFile(path);
      if (TSkinManage::Instance()->ActionScheduled()) RunRequested();
    });
    EXPECT_EQ(seen.count, 0) << "broken skin data is not reported";
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
  };
  // Bytes that are no skin at all: the previous pictures go on painting.
  for (const auto& bytes : {std::vector<std::uint8_t>(4000, 0xA5), std::vector<std::uint8_t>{}}) {
    load(bytes);
    ASSERT_NE(Skin(w), nullptr);
    EXPECT_TRUE(data->SkinEmpty());
    EXPECT_TRUE(SameRect(WindowRectOf(w), r)) << "the frame keeps its size";
    Surface shot = CaptureScreen(r);
    Surface left = ComposeBorder(data->Skin().BorderLeft, {4, r.bottom - r.top}, false, 1);
    EXPECT_EQ(Mismatches(shot, left, {0, 0}, left.View().Bounds()), 0) << "painted from the previous pictures";
  }
  // A cut-off package still reads, but its frame pictures (stored last) are
  // gone: the window gets the system's frame around the same client area.
  load({stored.begin(), stored.begin() + static_cast<std::ptrdiff_t>(stored.size() / 3)});
  ASSERT_FALSE(data->SkinEmpty());
  ASSERT_TRUE(data->Skin().BorderTop.Bitmap.IsEmpty());
  ASSERT_NE(Skin(w), nullptr);
  EXPECT_FALSE(Skin(w)->FrameSkinned());
  EXPECT_TRUE(SameRect(ClientOnScreen(w), before));
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_SYSMENU);
  // Closing still works.
  PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(w); }, 2000));
}

LRESULT CALLBACK MdiChildProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcA(w, msg, wp, lp); }

TEST_F(SkinnedWindows, AnMdiFrameKeepsItsClientInStepAndItsChildrenAreSkinned) {
  RegisterPrivateClass("CorvaneTestMdiChild", MdiChildProc);
  TForm& form = Application().CreateForm<TForm>();
  form.SetBounds(100, 100, 500, 400);
  CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
  HWND client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                                400, 300, form.Handle(), nullptr, GetModuleHandleA(nullptr), &ccs);
  ASSERT_NE(client, nullptr);
  form.Show();
  SetForegroundWindow(form.Handle());
  ASSERT_TRUE(PumpUntil([&] { return Skin(form.Handle()) && Skin(form.Handle())->FrameState() == kFrameActive; }));
  EXPECT_EQ(Skin(form.Handle())->Mdi(), MdiKind::Frame);
  SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_EQ(GetWindowLongA(client, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0) << "no room for its own bars";

  // A child made through the client is skinned as it is created; while
  // children exist the menu bar is not rebuilt from the frame's menu.
  MDICREATESTRUCTA mcs{"CorvaneTestMdiChild", "child", GetModuleHandleA(nullptr), 10, 10, 200, 150, 0, 0};
  HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(child, nullptr);
  EXPECT_FALSE(data->MenuUpdate);
  ASSERT_TRUE(PumpUntil([&] { return Skin(child) && Skin(child)->FrameState() == kFrameActive; }));
  EXPECT_EQ(Skin(child)->Mdi(), MdiKind::Child);
  SendMessageA(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
  Pump();
  EXPECT_EQ(Skin(child)->WindowState(), WindowShowState::Maximised);
  SendMessageA(client, WM_MDICASCADE, 0, 0);
  EXPECT_FALSE(TSkinManage::Instance()->MDIMaximized);
  SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  EXPECT_TRUE(data->MenuUpdate) << "the last child gone, the frame's value is back";

  // Unskinned, the client is its own again.
  data->SetActive(false);
  RunRequested();
  SetWindowLongA(client, GWL_STYLE, GetWindowLongA(client, GWL_STYLE) | WS_VSCROLL);
  SetWindowPos(client, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  EXPECT_NE(GetWindowLongA(client, GWL_STYLE) & WS_VSCROLL, 0);
}

TEST_F(SkinnedWindows, ToolBarsDrawTheirBackgroundAndButtonsFromTheSkin) {
  TForm& form = ShowDialog();
  TWinSkinForm* skin = Skin(form.Handle());
  const SkinDefinition& s = data->Skin();
  const Pixel paper = 0xFF123456;
  OffscreenSurface canvas(40, 24);
  auto clear = [&] {
    canvas.View().Fill(paper);
  };
  auto differs = [&](const Surface& expected, Point at) {
    GdiFlush();
    int bad = 0;
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x) {
        Pixel e = expected.At(x, y);
        Pixel want = SameColour(e, kColourKey) ? paper : e;
        bad += (canvas.View().At(at.x + x, at.y + y) & 0xFFFFFF) != (want & 0xFFFFFF);
      }
    return bad;
  };
  struct Case {
    unsigned state;
    int cell;
  };
  for (Case c : {Case{0x40, 4}, Case{0x01, 2}, Case{0x20, 1}}) {
    clear();
    ASSERT_TRUE(skin->ToolbarButton(canvas.Dc(), {0, 0, 40, 24}, c.state));
    Surface expected = BuildElementBitmap({0, 0, 38, 22}, s.Buttons.Bitmap,
                                          {s.Buttons.LeftWidth, s.Buttons.TopHeight, s.Buttons.RightWidth,
                                           s.Buttons.BottomHeight},
                                          false, false, 5, c.cell);
    EXPECT_EQ(differs(expected, {1, 1}), 0) << "cell " << c.cell;
  }
  clear();
  EXPECT_FALSE(skin->ToolbarButton(canvas.Dc(), {0, 0, 40, 24}, 0x20 | 0x04)) << "disabled: the system draws";
  data->Options.Include(xoToolbarButton);
  EXPECT_FALSE(skin->ToolbarButton(canvas.Dc(), {0, 0, 40, 24}, 0x40));
  GdiFlush();
  EXPECT_EQ(canvas.View().At(20, 12), paper);

  // The background only where the option does not keep the tool bar's own.
  ASSERT_TRUE(s.Toolbar);
  skin->ToolbarBackground(canvas.Dc(), {0, 0, 40, 24});
  GdiFlush();
  EXPECT_EQ(canvas.View().At(20, 12), paper) << "xoToolbarBK is set by default";
  data->Options.Exclude(xoToolbarBK);
  skin->ToolbarBackground(canvas.Dc(), {0, 0, 40, 24});
  Surface stretched(40, 24);
  StretchCopy(stretched.View(), stretched.View().Bounds(), s.Toolbar->Bitmap.View(), s.Toolbar->Bitmap.View().Bounds());
  EXPECT_EQ(differs(stretched, {0, 0}), 0);
}

// A message box of the program: the dialog class, skinned as a bare window.
struct BoxProbe {
  bool skinned = false;
  bool frameOk = false;
  bool captionFits = false;
  bool okCentred = false;
  HFONT captionFont = nullptr;
};
BoxProbe g_box;

void CALLBACK ProbeAndCloseBox(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = test::FindThreadDialog();
  if (!box) return;
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(box);
  if (!skin || skin->FrameState() != kFrameActive) return;
  KillTimer(nullptr, id);
  g_box.skinned = SendMessageA(box, WM_SKINQUERY, 0, 0) == 1;
  RECT window{}, client{};
  GetWindowRect(box, &window);
  GetClientRect(box, &client);
  g_box.frameOk = skin->Form() == nullptr && skin->Border() == BorderKind::Dialog &&
                  (window.right - window.left) - client.right == 8 &&
                  (window.bottom - window.top) - client.bottom == 30;
  // Wide enough for its caption in the skin's caption layout.
  char caption[256] = {};
  GetWindowTextA(box, caption, sizeof caption);
  std::string text = std::string(" ") + caption + "  ";
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, g_box.captionFont);
  SIZE extent{};
  GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &extent);
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  g_box.captionFits = window.right - window.left >= 16 + extent.cx + 77;
  // Its button stays in the middle after widening.
  HWND button = GetDlgItem(box, IDOK);
  RECT b{};
  GetWindowRect(button, &b);
  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&b), 2);
  g_box.okCentred = button && std::abs((b.left + b.right) / 2 - client.right / 2) <= 3;
  if (std::getenv("CORVANE_SHOTS")) {
    // Screenshots for people: scripts/screenshot.sh reads this pause.
    Sleep(3000);
  }
  // Its OK button still works.
  HWND ok = GetDlgItem(box, IDOK);
  PostMessageA(ok ? ok : box, ok ? BM_CLICK : WM_COMMAND, ok ? 0 : IDOK, 0);
}

TEST_F(SkinnedWindows, AMessageBoxIsSkinnedWidenedForItsCaptionAndItsButtonStillWorks) {
  ShowDialog();
  for (const char* caption : {"Corvane", "Corvane - a caption far longer than the message below it"}) {
    g_box = {};
    g_box.captionFont = data->CaptionFont(96);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, ProbeAndCloseBox);
    int answer = MessageBoxA(nullptr, "Saved", caption, MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, IDOK) << caption;
    EXPECT_TRUE(g_box.skinned) << caption;
    EXPECT_TRUE(g_box.frameOk) << caption;
    EXPECT_TRUE(g_box.captionFits) << caption;
    EXPECT_TRUE(g_box.okCentred) << caption;
  }
}

TEST(SkinnedWindowsStart, AnEmptyOrRefusedStreamStoredActiveSkinsNothing) {
  ResetApplication();
  TSkinManage::Destroy();
  TSkinData& empty = Application().Create<TSkinData>();
  empty.BeginReading();
  empty.SetActive(true);
  empty.SetSkinStream({});
  empty.Loaded();
  EXPECT_FALSE(empty.Active());
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsDialog);
  form.Show();
  SetForegroundWindow(form.Handle());
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(SendMessageA(form.Handle(), WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(TSkinManage::Instance()->FormSkins().empty());
  ResetApplication();
  TSkinManage::Destroy();
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

// The real program: its link editor is skinned by the skin stored in the exe.
TEST(SkinnedProgram, TheLinkEditorWearsTheStoredSkinsFrame) {
  test::TempFolder folder;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(test::StartProgramCopy(folder, pi)) << "CORVANE_EXE names the program";
  auto findWindow = [&](const char* cls) { return test::FindProcessWindow(pi.dwProcessId, cls); };
  HWND launcher = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (launcher = findWindow("TForm1")) && IsWindowVisible(launcher); }, 20000));
  // The launcher follows the mouse from a press on its picture: the mouse
  // rests where the double click lands, so the window stays where it is.
  RECT at = WindowRectOf(launcher);
  SetCursorPos(at.left + 5, at.top + 5);
  PostMessageA(launcher, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  // The press starts the launcher's move loop, which runs until the button
  // comes up.
  Sleep(300);
  mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
  HWND editor = nullptr;
  EXPECT_TRUE(PumpUntil(
      [&] {
        editor = findWindow("TForm2");
        return editor && IsWindowVisible(editor) && SendMessageA(editor, WM_SKINQUERY, 0, 0) == 1;
      },
      10000));
  if (editor) {
    PumpUntil([] { return false; }, 500);
    RECT r = WindowRectOf(editor), client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, 531);
    EXPECT_EQ(client.bottom, 330);
    EXPECT_EQ(r.right - r.left, 531 + 8);
    EXPECT_EQ(r.bottom - r.top, 330 + 30);
    SkinDefinition skin;
    ASSERT_EQ(LoadSkinStream(StoredSkin(), skin), SkinLoadStatus::Loaded);
    int W = r.right - r.left, H = r.bottom - r.top;
    Surface shot = CaptureScreen(r);
    Surface left = ComposeBorder(skin.BorderLeft, {4, H}, false, 1);
    Surface bottom = ComposeBorder(skin.BorderBottom, {W - 8, 5}, true, 1);
    Surface caption = ComposeBorder(skin.BorderTop, {W - 8, 25}, true, 1);
    EXPECT_EQ(Mismatches(shot, left, {0, 0}, left.View().Bounds()), 0);
    EXPECT_EQ(Mismatches(shot, bottom, {4, H - 5}, bottom.View().Bounds()), 0);
    EXPECT_EQ(Mismatches(shot, caption, {4, 0}, {300, 0, W - 8 - 80, 25}), 0);

    // Its close button: normal, hot under the mouse with its hint, and it
    // hides the editor. A dialog frame has no minimise box: the skin shows
    // no minimise button there.
    const TDataSkinSysButton* close = nullptr;
    for (const auto& b : skin.CaptionButtons)
      if (b->Action == 0) close = b.get();
    ASSERT_NE(close, nullptr);
    Point at{W - close->XCoord, close->YCoord};
    auto closeShows = [&](int cell) {
      Surface picture = CellPicture(close->Bitmap, close->Frame, cell);
      return Mismatches(CaptureScreen(r), picture, at, picture.View().Bounds()) == 0;
    };
    EXPECT_TRUE(closeShows(1));
    SetCursorPos(r.left + at.x + 8, r.top + at.y + 8);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return closeShows(3); }, 2000)) << "hot under the mouse";
    HWND hint = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (hint = findWindow("TSkinCaptionHint")) && IsWindowVisible(hint); }, 3000));
    char text[16] = {};
    if (hint) GetWindowTextA(hint, text, sizeof text);
    EXPECT_STREQ(text, "Close");
    if (std::getenv("CORVANE_SHOTS")) Sleep(4000);

    // Alt+Space opens the skin's window menu, drawn by the skin too.
    SetForegroundWindow(editor);
    keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(VK_SPACE, 0, 0, 0);
    keybd_event(VK_SPACE, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
    HWND menu = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return (menu = findWindow("#32768")) && IsWindowVisible(menu); }, 3000));
    if (menu) {
      EXPECT_EQ(SendMessageA(menu, WM_SKINQUERY, 0, 0), 1);
      if (std::getenv("CORVANE_SHOTS")) Sleep(3000);
      PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(menu); }, 3000));
    }
    SetCursorPos(r.left + at.x + 8, r.top + at.y + 8);
    mouse_event(MOUSEEVENTF_MOVE, 0, 0, 0, 0);
    Sleep(100);
    mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
    mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(editor); }, 3000)) << "close hides the editor";
    SetCursorPos(5, 5);
    PostMessageA(editor, WM_CLOSE, 0, 0);
  }
  PostMessageA(launcher, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(test::AwaitProgramEnd(pi));
}

}  // namespace
}  // namespace corvane
