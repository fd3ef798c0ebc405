// The standard controls, status bar and dialogs, driven through real windows
// and messages under Wine.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "FrameworkTestSupport.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;

std::vector<std::string> WindowItems(HWND list) {
  std::vector<std::string> items;
  int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

LPARAM ClientPoint(const RECT& r) {
  return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class Controls : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) {
      errors.push_back(e.what());
    };
    form = &Application().CreateForm<TForm>();
    form->SetBounds(40, 40, 400, 300);
    form->Handle();
  }
  void TearDown() override {
    ReleaseCapture();
    ResetApplication();
    Pump();
  }
  template <typename T>
  T& Make(TWinControl* parent, int left, int top, int width, int height) {
    T& control = form->Create<T>();
    control.SetBounds(left, top, width, height);
    control.SetParent(parent);
    return control;
  }
  void ShowForm() {
    form->Show();
    Pump();
  }

  TForm* form = nullptr;
  std::vector<std::string> errors;
};

TEST_F(Controls, ASortedListOrdersWithoutRegardToCaseAndMirrorsItsWindow) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.Sorted = true;
  list.Add("delta");
  list.Add("Alpha");
  list.Add("charlie");
  list.Add("Bravo");
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}));
  EXPECT_EQ(WindowItems(list.Handle()), list.Items());
  list.Delete(1);
  EXPECT_EQ(WindowItems(list.Handle()), (std::vector<std::string>{"Alpha", "charlie", "delta"}));
}

TEST_F(Controls, EachControlAnswersToItsClassAndFamilyNames) {
  TEdit& edit = Make<TEdit>(form, 0, 0, 10, 10);
  TListBox& list = Make<TListBox>(form, 0, 0, 10, 10);
  TGroupBox& box = Make<TGroupBox>(form, 0, 0, 10, 10);
  TStatusBar& bar = Make<TStatusBar>(form, 0, 0, 10, 10);
  TButton& button = Make<TButton>(form, 0, 0, 10, 10);
  EXPECT_STREQ(edit.ClassName(), "TEdit");
  EXPECT_TRUE(edit.InheritsFrom("TCustomEdit"));
  EXPECT_TRUE(list.InheritsFrom("TCustomListBox"));
  EXPECT_TRUE(box.InheritsFrom("TCustomGroupBox"));
  EXPECT_TRUE(bar.InheritsFrom("TCustomStatusBar"));
  EXPECT_TRUE(button.InheritsFrom("TWinControl"));
  EXPECT_FALSE(button.InheritsFrom("TCustomEdit"));
  EXPECT_FALSE(list.InheritsFrom("TCustomGroupBox"));
  // The window class carries the class name, which skins match by.
  char cls[32] = {};
  GetClassNameA(list.Handle(), cls, sizeof cls);
  EXPECT_STREQ(cls, "TListBox");
}

TEST_F(Controls, AnUnsortedListKeepsInsertionOrderAndDuplicates) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.SetItems({"zeta", "alpha", "zeta"});
  EXPECT_EQ(WindowItems(list.Handle()), (std::vector<std::string>{"zeta", "alpha", "zeta"}));
}

TEST_F(Controls, ListIndexErrorsUseTheSystemsMessageAndChangeNothing) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.SetItems({"one", "two"});
  try {
    list.Item(-1);
    FAIL() << "no error for -1";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
  }
  try {
    list.Delete(2);
    FAIL() << "no error for 2";
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (2)");
  }
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(WindowItems(list.Handle()).size(), 2u);
}

TEST_F(Controls, ItemsAndSelectionSurviveANewWindow) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.SetItems({"a", "b", "c"});
  list.SetItemIndex(2);
  list.DestroyHandle();
  list.Add("d");
  EXPECT_EQ(WindowItems(list.Handle()), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.ItemIndex(), 2);
}

TEST_F(Controls, AListShowsOnlyWholeRowsOfThirteenPixels) {
  TListBox& list = Make<TListBox>(form, 10, 10, 263, 43);
  list.SetItems({"a", "b", "c", "d", "e"});
  RECT client{};
  GetClientRect(list.Handle(), &client);
  EXPECT_EQ(SendMessageA(list.Handle(), LB_GETITEMHEIGHT, 0, 0), 13);
  EXPECT_EQ(client.bottom % 13, 0) << client.bottom;
  EXPECT_GT(client.bottom, 0);
}

TEST_F(Controls, ClickingAnItemSelectsItAndRaisesOnClick) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.SetItems({"first", "second", "third"});
  ShowForm();
  std::vector<int> clicked;
  list.OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    clicked.push_back(list.ItemIndex());
  };
  LPARAM at = ClientPoint(list.ItemRect(1));
  SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list.Handle(), WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(list.ItemIndex(), 1);
  ASSERT_FALSE(clicked.empty());
  EXPECT_EQ(clicked.back(), 1);
}

TEST_F(Controls, DoubleClickingAnItemRaisesOnDblClickOnce) {
  TListBox& list = Make<TListBox>(form, 10, 10, 120, 100);
  list.SetItems({"first", "second"});
  ShowForm();
  int doubles = 0;
  list.OnDblClick = [&](TObject* sender) { doubles += sender == &list; };
  RECT r = list.ItemRect(0);
  LPARAM at = ClientPoint(r);
  SendMessageA(list.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageA(list.Handle(), WM_LBUTTONUP, 0, at);
  SendMessageA(list.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageA(list.Handle(), WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(doubles, 1);
}

TEST_F(Controls, AButtonClicksOnceFromTheSystemsNotificationEvenInsideAGroupBox) {
  TGroupBox& box = Make<TGroupBox>(form, 10, 10, 200, 100);
  TButton& button = Make<TButton>(&box, 10, 20, 75, 25);
  button.SetCaption("Go");
  ShowForm();
  int clicks = 0;
  button.OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, &button);
    ++clicks;
  };
  SendMessageA(button.Handle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(clicks, 1);
  char text[16] = {};
  GetWindowTextA(button.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Go");
}

TEST_F(Controls, AnEditReportsTypedTextAndClearsIt) {
  TEdit& edit = Make<TEdit>(form, 10, 10, 120, 21);
  ShowForm();
  edit.SetFocus();
  for (char c : std::string("typed")) SendMessageA(edit.Handle(), WM_CHAR, c, 1);
  EXPECT_EQ(edit.Text(), "typed");
  EXPECT_EQ(PropText(edit.GetProperty("Text")), std::optional<std::string>("typed"));
  // The caption was never set from code, so clearing must still reach the window.
  edit.Clear();
  EXPECT_EQ(edit.Text(), "");
  EXPECT_EQ(GetWindowTextLengthA(edit.Handle()), 0);
}

TEST_F(Controls, TabMovesTheFocusThroughTheFormAndIntoGroupBoxes) {
  TEdit& first = Make<TEdit>(form, 10, 10, 100, 21);
  TGroupBox& box = Make<TGroupBox>(form, 10, 40, 200, 100);
  TListBox& inside = Make<TListBox>(&box, 10, 20, 100, 40);
  TButton& last = Make<TButton>(form, 250, 10, 75, 25);
  ShowForm();
  first.SetFocus();
  ASSERT_EQ(GetFocus(), first.Handle());
  SendMessageA(first.Handle(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), inside.Handle());
  SendMessageA(inside.Handle(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), last.Handle());
  SendMessageA(last.Handle(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), first.Handle());
  // The Tab character itself never lands in a field.
  SendMessageA(first.Handle(), WM_CHAR, '\t', 1);
  EXPECT_EQ(first.Text(), "");
}

TEST_F(Controls, ALabelSizesItselfToItsCaptionAndPaintsIt) {
  TLabel& label = Make<TLabel>(form, 10, 10, 0, 0);
  label.SetCaption("File name");
  int shortWidth = label.Width();
  EXPECT_GT(shortWidth, 20);
  EXPECT_GE(label.Height(), 10);
  label.SetCaption("Links to run at the same time");
  EXPECT_GT(label.Width(), shortWidth * 2);
  test::Canvas canvas(label.Width(), label.Height());
  RECT all{0, 0, label.Width(), label.Height()};
  FillRect(canvas.Dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  label.Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  int dark = 0;
  for (int y = 0; y < label.Height(); ++y)
    for (int x = 0; x < label.Width(); ++x)
      if (GetRValue(canvas.At(x, y)) < 128) ++dark;
  EXPECT_GT(dark, 20);
}

TEST_F(Controls, AGroupBoxPaintsItsFrameAndCaptionOverItsBackground) {
  TGroupBox& box = Make<TGroupBox>(form, 10, 10, 200, 100);
  box.SetCaption("Menu Links");
  box.Handle();
  test::Canvas canvas(200, 100);
  box.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  box.Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(canvas.At(100, 60), face);  // inside: the background
  EXPECT_NE(canvas.At(0, 60), face);    // the left edge of the frame
  int captionInk = 0;
  for (int x = 8; x < 70; ++x)
    for (int y = 0; y < 13; ++y)
      if (canvas.At(x, y) != face) ++captionInk;
  EXPECT_GT(captionInk, 20);
}

class DragBetweenLists : public Controls {
 protected:
  void SetUp() override {
    Controls::SetUp();
    source = &Make<TListBox>(form, 10, 10, 120, 100);
    target = &Make<TListBox>(form, 200, 10, 120, 100);
    source->SetItems({"alpha", "beta", "gamma"});
    source->DragMode = TDragMode::dmAutomatic;
    target->OnDragOver = [this](TObject* sender, TObject* src, int, int, TDragState, bool& accept) {
      EXPECT_EQ(sender, target);
      accept = acceptDrags && dynamic_cast<TListBox*>(src) != nullptr;
    };
    target->OnDragDrop = [this](TObject* sender, TObject* src, int x, int y) {
      EXPECT_EQ(sender, target);
      drops.push_back(static_cast<TListBox*>(src));
      dropPoints.push_back(POINT{x, y});
    };
    ShowForm();
  }
  // Presses item index of the source, moves by (dx, dy) in the source's
  // coordinates and releases there.
  void Drag(int index, int dx, int dy) {
    RECT item = source->ItemRect(index);
    int x = (item.left + item.right) / 2, y = (item.top + item.bottom) / 2;
    POINT screen{x, y};
    ClientToScreen(source->Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageA(source->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(source->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx / 2, y + dy / 2));
    SendMessageA(source->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y + dy));
    SendMessageA(source->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x + dx, y + dy));
    Pump();
  }
  int ToTarget() const { return 200 - 10; }

  TListBox* source = nullptr;
  TListBox* target = nullptr;
  bool acceptDrags = true;
  std::vector<TListBox*> drops;
  std::vector<POINT> dropPoints;
};

TEST_F(DragBetweenLists, PressingAnItemAndMovingOntoAnotherListDropsItThere) {
  int clicks = 0;
  source->OnClick = [&](TObject*) { ++clicks; };
  Drag(1, ToTarget(), 20);
  // A drag is no choice of the item: the source's click handler stays quiet.
  EXPECT_EQ(clicks, 0);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0], source);
  EXPECT_EQ(source->ItemIndex(), 1);
  // The drop point is in the target's own coordinates.
  EXPECT_GE(dropPoints[0].x, 0);
  EXPECT_LT(dropPoints[0].x, target->Width());
  EXPECT_FALSE(source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragBetweenLists, ARefusedDragDropsNothing) {
  acceptDrags = false;
  Drag(0, ToTarget(), 0);
  EXPECT_TRUE(drops.empty());
}

TEST_F(DragBetweenLists, ASmallMovementIsAClickNotADrag) {
  int clicks = 0;
  source->OnClick = [&](TObject*) { ++clicks; };
  Drag(2, 2, 1);
  EXPECT_TRUE(drops.empty());
  EXPECT_EQ(source->ItemIndex(), 2);
  EXPECT_GE(clicks, 1);
}

TEST_F(DragBetweenLists, AManualDragModeListNeverDrags) {
  source->DragMode = TDragMode::dmManual;
  Drag(0, ToTarget(), 0);
  EXPECT_TRUE(drops.empty());
}

TEST_F(DragBetweenLists, DroppingOutsideAnyTargetDropsNothing) {
  Drag(0, 0, 150);  // below both lists, on the bare form
  EXPECT_TRUE(drops.empty());
  EXPECT_FALSE(source->Dragging());
}

TEST_F(Controls, TheStatusBarShowsTheHintOfTheControlUnderTheMouse) {
  TGroupBox& box = Make<TGroupBox>(form, 10, 10, 200, 120);
  box.Hint = "box hint";
  TEdit& edit = Make<TEdit>(&box, 10, 20, 100, 21);
  edit.Hint = "File to run";
  TLabel& label = Make<TLabel>(&box, 10, 60, 0, 0);
  label.SetCaption("no hint of its own");
  TButton& plain = Make<TButton>(form, 250, 10, 75, 25);
  TStatusBar& bar = Make<TStatusBar>(form, 0, 0, 10, 10);
  bar.AlignBottom(19);
  ShowForm();
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(bar.Top(), client.bottom - 19);
  EXPECT_EQ(bar.Width(), client.right);

  auto screenOf = [](TControl& c, int x, int y) { return c.ClientToScreen(POINT{x, y}); };
  EXPECT_EQ(bar.HintAt(screenOf(edit, 5, 5)), "File to run");
  EXPECT_EQ(bar.HintAt(screenOf(label, 2, 2)),
            "box hint");  // a label without one shows its parent's
  EXPECT_EQ(bar.HintAt(screenOf(plain, 5, 5)), "");
  RECT formRect{};
  GetWindowRect(form->Handle(), &formRect);
  EXPECT_EQ(bar.HintAt(POINT{formRect.right + 50, formRect.bottom + 50}), "");

  POINT p = screenOf(edit, 5, 5);
  SetCursorPos(p.x, p.y);
  EXPECT_TRUE(PumpUntil([&] { return bar.SimpleText() == "File to run"; }, 3000));
  // What the window itself shows (a simple bar answers for its one text).
  EXPECT_TRUE(SendMessageA(bar.Handle(), SB_ISSIMPLE, 0, 0));
  char shown[64] = {};
  SendMessageA(bar.Handle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(shown));
  EXPECT_STREQ(shown, "File to run");

  // The bar follows the mouse's messages, not a clock: straight out of the
  // form only the leave notice tells, and while the mouse rests away from
  // it nothing is due.
  p = screenOf(label, 2, 2);
  SetCursorPos(p.x, p.y);
  EXPECT_TRUE(PumpUntil([&] { return bar.SimpleText() == "box hint"; }, 3000));
  SetCursorPos(formRect.right + 50, formRect.bottom + 50);
  EXPECT_TRUE(PumpUntil([&] { return bar.SimpleText().empty(); }, 3000)) << "leaving the form clears the hint";
  Pump();
  Sleep(400);
  MSG timer;
  EXPECT_FALSE(PeekMessageA(&timer, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE)) << "no timer runs for the hint";
}

TEST(DialogHelpers, TheFilterBecomesTheSystemsDoublyTerminatedList) {
  std::string f = SystemFilter("All (*.*)|*.*");
  EXPECT_EQ(f, std::string("All (*.*)\0*.*\0\0", 15));
}

TEST(DialogHelpers, PicturesLargerThanTheBoxShrinkProportionallyAndSmallOnesStay) {
  RECT box{0, 0, 54, 54};
  RECT wide = FitPicture(108, 54, box);
  EXPECT_EQ(wide.right - wide.left, 54);
  EXPECT_EQ(wide.bottom - wide.top, 27);
  EXPECT_EQ(wide.top, 13);
  RECT tall = FitPicture(20, 200, box);
  EXPECT_EQ(tall.bottom - tall.top, 54);
  EXPECT_EQ(tall.right - tall.left, 5);
  RECT small = FitPicture(32, 16, box);
  EXPECT_EQ(small.right - small.left, 32);
  EXPECT_EQ(small.bottom - small.top, 16);
  RECT none = FitPicture(0, 10, box);
  EXPECT_EQ(none.right - none.left, 0);
}

// Answers the next file dialog of this thread from a timer: types a name
// (or cancels when it is empty) and confirms.
std::string g_dialogAnswer;
bool g_dialogSeen = false;
void CALLBACK AnswerFileDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = test::FindThreadDialog();
  if (!dialog) return;
  KillTimer(nullptr, id);
  g_dialogSeen = true;
  if (g_dialogAnswer.empty()) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  // The name field of the explorer-style dialog.
  SetDlgItemTextA(dialog, 0x47C, g_dialogAnswer.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

TEST(OpenDialog, ConfirmingGivesTheFullPathAndCancellingGivesFalse) {
  test::TempFolder folder;
  std::string file = folder.File("chosen.txt");
  HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
  TOpenDialog dialog(nullptr);
  dialog.Filter = "All (*.*)|*.*";
  dialog.DefaultExt = "*";
  dialog.InitialDir = folder.Path();

  g_dialogSeen = false;
  g_dialogAnswer = file;
  SetTimer(nullptr, 0, 100, AnswerFileDialog);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_TRUE(g_dialogSeen);
  EXPECT_EQ(lstrcmpiA(dialog.FileName.c_str(), file.c_str()), 0) << dialog.FileName;

  g_dialogSeen = false;
  g_dialogAnswer.clear();
  SetTimer(nullptr, 0, 100, AnswerFileDialog);
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(g_dialogSeen);
}

TEST(OpenPictureDialog, PreviewsAPictureAndNothingForOtherFiles) {
  test::TempFolder folder;
  std::string picture = folder.File("red.bmp");
  ASSERT_TRUE(test::WriteBmp(picture, 20, 10, [](int, int) { return RGB(255, 0, 0); }));
  std::string text = folder.File("notes.bmp");
  HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "not a picture", 13, &written, nullptr);
  CloseHandle(h);
  TOpenPictureDialog dialog(nullptr);
  dialog.SelectForPreview(picture);
  EXPECT_EQ(dialog.Preview().Width(), 20);
  EXPECT_EQ(dialog.Preview().Height(), 10);
  dialog.SelectForPreview(text);
  EXPECT_TRUE(dialog.Preview().Empty());

  dialog.InitialDir = folder.Path();
  g_dialogSeen = false;
  g_dialogAnswer = picture;
  SetTimer(nullptr, 0, 100, AnswerFileDialog);
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(lstrcmpiA(dialog.FileName.c_str(), picture.c_str()), 0) << dialog.FileName;
  EXPECT_EQ(dialog.PreviewWindow(), nullptr);  // gone with the dialog
}

// Selects the first file of the running dialog's list on one tick, records
// the preview on a later one and cancels.
TOpenPictureDialog* g_previewDialog = nullptr;
int g_previewStep = 0;
int g_previewWaits = 0;
int g_previewWidth = -1;
bool g_previewWindowShown = false;
void CALLBACK SelectFirstFile(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = test::FindThreadDialog();
  if (!dialog) return;
  if (g_previewStep == 0) {
    HWND list = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND w, LPARAM out) -> BOOL {
          char cls[32] = {};
          GetClassNameA(w, cls, sizeof cls);
          if (std::string(cls) == WC_LISTVIEWA) {
            *reinterpret_cast<HWND*>(out) = w;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    if (!list || SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 1) {
      // No file list after five seconds: give up rather than hang the suite.
      if (++g_previewWaits > 50) {
        KillTimer(nullptr, id);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      }
      return;
    }
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    g_previewStep = 1;
    return;
  }
  if (++g_previewStep < 4) return;
  g_previewWidth = g_previewDialog->Preview().Width();
  g_previewWindowShown =
      g_previewDialog->PreviewWindow() && IsWindowVisible(g_previewDialog->PreviewWindow());
  KillTimer(nullptr, id);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(OpenPictureDialog, SelectingAFileInTheRunningDialogPreviewsIt) {
  test::TempFolder folder;
  ASSERT_TRUE(
      test::WriteBmp(folder.File("only.bmp"), 33, 11, [](int, int) { return RGB(0, 128, 0); }));
  TOpenPictureDialog dialog(nullptr);
  dialog.InitialDir = folder.Path();
  g_previewDialog = &dialog;
  g_previewStep = 0;
  g_previewWaits = 0;
  g_previewWidth = -1;
  g_previewWindowShown = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, SelectFirstFile);
  EXPECT_FALSE(dialog.Execute());
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_previewWidth, 33);
  EXPECT_TRUE(g_previewWindowShown);
}

}  // namespace
}  // namespace corvane
