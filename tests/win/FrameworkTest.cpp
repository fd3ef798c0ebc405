// The application framework under Wine: components, the message chain and
// its take-over, graphic controls, reflection, forms and exceptions.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/Subclass.h"
#include "platform/Dpi.h"
#include "FrameworkTestSupport.h"

namespace corvane {
namespace {

using test::Pump;

// A graphic control that paints itself in one colour and records what it sees.
class TSwatch : public TGraphicControl {
  CORVANE_CLASS(TSwatch, TGraphicControl)

 public:
  TSwatch(TComponent* owner, COLORREF colour) : TGraphicControl(owner), m_colour(colour) {}
  std::vector<std::string> seen;

 protected:
  void Paint(HDC dc) override {
    UniqueBrush brush(CreateSolidBrush(m_colour));
    RECT r{0, 0, Width(), Height()};
    FillRect(dc, &r, brush.Get());
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_MOUSEENTER) seen.push_back("enter " + Name);
    if (m.Msg == CM_MOUSELEAVE) seen.push_back("leave " + Name);
    TGraphicControl::Dispatch(m);
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    seen.push_back("down " + std::to_string(x) + "," + std::to_string(y) + ((s & ssDouble) ? " double" : ""));
    TGraphicControl::MouseDown(b, s, x, y);
  }

 private:
  COLORREF m_colour;
};

// A control built on the system's push button.
class TPushButton : public TWinControl {
  CORVANE_CLASS(TPushButton, TWinControl)

 public:
  using TWinControl::TWinControl;
  int clicks = 0;

 protected:
  void CreateParams(TCreateParams& p) override {
    TWinControl::CreateParams(p);
    p.baseClass = "BUTTON";
    p.style |= BS_PUSHBUTTON;
  }
  void Dispatch(TMessage& m) override {
    if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == BN_CLICKED) {
      ++clicks;
      return;
    }
    TWinControl::Dispatch(m);
  }
};

class Framework : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    errors.clear();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
  }
  void TearDown() override {
    ResetApplication();
    Pump();
  }
  std::vector<std::string> errors;
};

TEST_F(Framework, ComponentsOwnNameAndAnswerByName) {
  TForm& form = Application().CreateForm<TForm>();
  auto& swatch = form.Create<TSwatch>(RGB(1, 2, 3));
  swatch.Name = "Swatch1";
  EXPECT_EQ(form.FindComponent("swatch1"), &swatch);
  EXPECT_EQ(form.FindComponent("Nothing"), nullptr);
  EXPECT_STREQ(swatch.ClassName(), "TSwatch");
  EXPECT_TRUE(swatch.InheritsFrom("TGraphicControl"));
  EXPECT_TRUE(swatch.InheritsFrom("TComponent"));
  EXPECT_FALSE(swatch.InheritsFrom("TWinControl"));

  EXPECT_TRUE(swatch.SetProperty("Caption", std::string("Hello")));
  EXPECT_EQ(std::get<std::string>(swatch.GetProperty("Caption")), "Hello");
  EXPECT_TRUE(swatch.SetProperty("Left", std::int64_t{17}));
  EXPECT_EQ(swatch.Left(), 17);
  EXPECT_FALSE(swatch.SetProperty("Left", std::string("17")));  // wrong kind refused
  EXPECT_FALSE(swatch.SetProperty("NoSuchProperty", std::int64_t{1}));
  EXPECT_TRUE(std::holds_alternative<std::monostate>(swatch.GetProperty("NoSuchProperty")));

  int before = form.ComponentCount();
  EXPECT_TRUE(form.FreeComponent(&swatch));
  EXPECT_EQ(form.ComponentCount(), before - 1);
  EXPECT_FALSE(form.FreeComponent(&swatch));
}

TEST_F(Framework, WindowProcTakeOverAndRestoreInAnyOrder) {
  TForm& form = Application().CreateForm<TForm>();
  HWND w = form.Handle();
  EXPECT_EQ(ControlOfWindow(w), &form);

  // Layer 1: the control's WindowProc, as a control skin takes it.
  std::vector<UINT> viaWindowProc;
  auto oldProc = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    viaWindowProc.push_back(m.Msg);
    if (m.Msg == WM_USER + 7) {
      m.Result = 42;
      return;
    }
    oldProc(m);
  };
  // Layer 2: the window procedure, as a form skin takes it.
  std::vector<UINT> viaSubclass;
  auto subclass = [](HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) -> LRESULT {
    reinterpret_cast<std::vector<UINT>*>(data)->push_back(msg);
    return DefSubclassProc(h, msg, wp, lp);
  };
  ASSERT_TRUE(SetWindowSubclass(w, subclass, 1, reinterpret_cast<DWORD_PTR>(&viaSubclass)));

  EXPECT_EQ(SendMessageA(w, WM_USER + 7, 0, 0), 42);
  EXPECT_EQ(viaSubclass.back(), WM_USER + 7u);
  EXPECT_EQ(viaWindowProc.back(), WM_USER + 7u);

  // Give the control layer back first, then the window layer.
  form.WindowProc = oldProc;
  EXPECT_EQ(SendMessageA(w, WM_USER + 7, 0, 0), 0);
  EXPECT_EQ(viaWindowProc.size(), 1u);
  RemoveWindowSubclass(w, subclass, 1);
  std::size_t subclassCount = viaSubclass.size();
  SendMessageA(w, WM_USER + 8, 0, 0);
  EXPECT_EQ(viaSubclass.size(), subclassCount);

  // The other order: the window layer goes first, then the control layer.
  ASSERT_TRUE(SetWindowSubclass(w, subclass, 1, reinterpret_cast<DWORD_PTR>(&viaSubclass)));
  form.WindowProc = [&](TMessage& m) {
    viaWindowProc.push_back(m.Msg);
    oldProc(m);
  };
  RemoveWindowSubclass(w, subclass, 1);
  std::size_t windowProcCount = viaWindowProc.size();
  subclassCount = viaSubclass.size();
  SendMessageA(w, WM_USER + 9, 0, 0);
  EXPECT_EQ(viaWindowProc.size(), windowProcCount + 1);
  EXPECT_EQ(viaSubclass.size(), subclassCount);
  form.WindowProc = oldProc;
  SendMessageA(w, WM_USER + 9, 0, 0);
  EXPECT_EQ(viaWindowProc.size(), windowProcCount + 1);

  // A window destroyed while taken over must not reach the freed object.
  ASSERT_TRUE(SetWindowSubclass(w, subclass, 1, reinterpret_cast<DWORD_PTR>(&viaSubclass)));
  form.WindowProc = [&](TMessage& m) { oldProc(m); };
  DestroyWindow(w);
  EXPECT_EQ(ControlOfWindow(w), nullptr);
  EXPECT_FALSE(form.HandleAllocated());
}

// Our subclass in front of a window, with a system subclass put on top of it
// or under it, given back in either order: messages pass each layer exactly
// while it is in place, a removal inside the handler still reaches the next
// procedure, and the window ends with the procedure it had.
TEST_F(Framework, WindowSubclassLeavesTheChainWholeInAnyOrder) {
  auto system = [](HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) -> LRESULT {
    reinterpret_cast<std::vector<UINT>*>(data)->push_back(msg);
    return DefSubclassProc(h, msg, wp, lp);
  };
  const struct {
    const char* name;
    bool systemFirst;   // the system subclass is put on before ours
    bool oursGoFirst;   // ours is removed before the system one
  } cases[] = {
      {"system under ours, ours removed first", true, true},
      {"system under ours, system removed first", true, false},
      {"system over ours, ours removed first", false, true},
      {"system over ours, system removed first", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TForm& form = Application().CreateForm<TForm>();
    HWND w = form.Handle();
    const LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
    std::vector<UINT> viaSystem, viaOurs;
    WindowSubclass ours;
    auto installSystem = [&] { ASSERT_TRUE(SetWindowSubclass(w, system, 1, reinterpret_cast<DWORD_PTR>(&viaSystem))); };
    if (c.systemFirst) installSystem();
    ASSERT_TRUE(ours.Install(w, [&](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
      viaOurs.push_back(msg);
      if (msg == WM_USER + 1) return LRESULT{7};
      return WindowSubclass::CallNext(h, msg, wp, lp);
    }));
    if (!c.systemFirst) installSystem();
    EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), 7);
    EXPECT_EQ(viaOurs.back(), WM_USER + 1u);
    // Ours answered, so a system subclass under it never saw the message.
    EXPECT_EQ(!viaSystem.empty() && viaSystem.back() == WM_USER + 1u, !c.systemFirst);

    if (c.oursGoFirst) ours.Remove();
    else RemoveWindowSubclass(w, system, 1);
    const std::size_t oursSeen = viaOurs.size(), systemSeen = viaSystem.size();
    EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), c.oursGoFirst ? 0 : 7);
    EXPECT_EQ(viaOurs.size(), oursSeen + (c.oursGoFirst ? 0 : 1));
    EXPECT_EQ(viaSystem.size(), systemSeen + (c.oursGoFirst ? 1 : 0));

    if (c.oursGoFirst) RemoveWindowSubclass(w, system, 1);
    else ours.Remove();
    EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(viaOurs.size(), oursSeen + (c.oursGoFirst ? 0 : 1));
    EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
    EXPECT_TRUE(Application().FreeComponent(&form));
  }

  // Removed inside its own handler, the handler still reaches the window's
  // procedure; destroyed while taken over, the window lets go of ours.
  TForm& form = Application().CreateForm<TForm>();
  HWND w = form.Handle();
  WindowSubclass ours;
  int calls = 0;
  ASSERT_TRUE(ours.Install(w, [&](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ++calls;
    if (msg == WM_SETTEXT) ours.Remove();
    return WindowSubclass::CallNext(h, msg, wp, lp);
  }));
  EXPECT_TRUE(SetWindowTextA(w, "passed on"));
  char text[32] = {};
  GetWindowTextA(w, text, sizeof text);
  EXPECT_STREQ(text, "passed on");
  EXPECT_FALSE(ours.Installed());
  const int afterRemoval = calls;
  SendMessageA(w, WM_USER + 2, 0, 0);
  EXPECT_EQ(calls, afterRemoval);
  ASSERT_TRUE(ours.Install(w, [&](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    ++calls;
    return WindowSubclass::CallNext(h, msg, wp, lp);
  }));
  DestroyWindow(w);
  EXPECT_FALSE(ours.Installed());
}

TEST_F(Framework, ControlOfWindowKnowsOnlyFrameworkWindows) {
  HWND foreign = CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(ControlOfWindow(foreign), nullptr);
  EXPECT_EQ(ControlOfWindow(nullptr), nullptr);
  DestroyWindow(foreign);
}

TEST_F(Framework, GraphicControlsPaintAtTheirPlaceOnTheParent) {
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(100, 100, 60, 40);
  form.SetColor(RGB(0, 0, 255));
  auto& swatch = form.Create<TSwatch>(RGB(255, 0, 0));
  swatch.SetParent(&form);
  swatch.SetBounds(10, 5, 20, 10);
  test::Canvas canvas(60, 40);
  SendMessageA(form.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  SendMessageA(form.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  EXPECT_EQ(canvas.At(10, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(29, 14), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(30, 14), RGB(0, 0, 255));  // clipped at its right edge
  EXPECT_EQ(canvas.At(9, 5), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(10, 15), RGB(0, 0, 255));
}

// A borderless 100 x 50 form at (50, 50) for mouse tests.
TForm& MouseTestForm() {
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(50, 50, 100, 50);
  return form;
}

// A 40 x 40 swatch named name on form, left pixels from its left edge.
template <class Swatch = TSwatch>
Swatch& AddSwatch(TForm& form, const char* name, COLORREF colour, int left) {
  auto& swatch = form.Create<Swatch>(colour);
  swatch.Name = name;
  swatch.SetParent(&form);
  swatch.SetBounds(left, 0, 40, 40);
  return swatch;
}

TEST_F(Framework, MouseReachesGraphicControlsWithEnterAndLeave) {
  TForm& form = MouseTestForm();
  auto& a = AddSwatch(form, "A", RGB(255, 0, 0), 0);
  auto& b = AddSwatch(form, "B", RGB(0, 255, 0), 50);
  int clicks = 0, doubles = 0;
  b.OnClick = [&](TObject* s) { clicks += s == &b; };
  b.OnDblClick = [&](TObject* s) { doubles += s == &b; };
  HWND w = form.Handle();

  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(6, 5));   // still A: no new events
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(45, 5));  // the gap: the form itself
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(60, 7));
  EXPECT_EQ(a.seen, (std::vector<std::string>{"enter A", "leave A"}));
  ASSERT_EQ(b.seen, (std::vector<std::string>{"enter B"}));

  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 7));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(61, 8));
  EXPECT_EQ(clicks, 1);
  SendMessageA(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(62, 9));
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(b.seen.back(), "down 12,9 double");
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(62, 9));
  EXPECT_EQ(clicks, 2);

  // A release outside the pressed control is no click, though the pressed
  // control still gets the release.
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 7));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(95, 45));
  EXPECT_EQ(clicks, 2);

  // Disabled: no mouse at all.
  b.SetEnabled(false);
  std::size_t seenBefore = b.seen.size();
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 7));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(60, 7));
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(b.seen.size(), seenBefore);

  // The mouse leaving the window leaves the control it was over.
  SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  SendMessageA(w, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(a.seen.back(), "leave A");
  EXPECT_EQ(Application().MouseControl(), nullptr);
}

// A swatch with a hover look: it needs to hear when the mouse leaves.
class THoverSwatch : public TSwatch {
 public:
  using TSwatch::TSwatch;
  bool WantsMouseLeave() const override { return true; }
};

// The window the system will send the mouse-leave notice to, if any.
HWND LeaveNoticeWindow() {
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  if (!TrackMouseEvent(&query) || !(query.dwFlags & TME_LEAVE)) return nullptr;
  return query.hwndTrack;
}

TEST_F(Framework, OnlyAControlWithAHoverLookAsksForTheMouseLeaveNotice) {
  TForm& form = MouseTestForm();
  auto& plain = AddSwatch(form, "P", RGB(255, 0, 0), 0);
  auto& hover = AddSwatch<THoverSwatch>(form, "H", RGB(0, 255, 0), 50);
  form.Show();
  Pump();
  HWND w = form.Handle();
  auto moveTo = [&](int x, int y) {
    SetCursorPos(50 + x, 50 + y);
    SendMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  };

  // Resting over a control without a hover look, or over the bare form,
  // leaves the system nothing to check (Wine checks on a timer).
  moveTo(5, 5);
  EXPECT_EQ(LeaveNoticeWindow(), nullptr);
  moveTo(45, 5);
  EXPECT_EQ(LeaveNoticeWindow(), nullptr);
  EXPECT_EQ(plain.seen, (std::vector<std::string>{"enter P", "leave P"}));

  // Over the hover control the notice is asked for, and leaving the window
  // really takes its hover away.
  moveTo(60, 5);
  EXPECT_EQ(LeaveNoticeWindow(), w);
  SetCursorPos(400, 400);
  EXPECT_TRUE(test::PumpUntil([&] { return !hover.seen.empty() && hover.seen.back() == "leave H"; }));
  EXPECT_EQ(Application().MouseControl(), nullptr);
}

// A form that, like the launcher, remakes what depends on its DPI with its
// window (a picture's region) whenever the DPI changes.
class TDpiReactingForm : public TForm {
  CORVANE_CLASS(TDpiReactingForm, TForm)

 public:
  using TForm::TForm;
  bool react = false;

 protected:
  void DpiChanged() override {
    TForm::DpiChanged();
    if (react) Handle();
  }
};

std::ptrdiff_t WindowsOfClass(const char* name) {
  const std::vector<HWND> windows = test::ThreadWindows();
  return std::count_if(windows.begin(), windows.end(), [&](HWND w) { return WindowClassName(w) == name; });
}

TEST_F(Framework, AFormAskingForItsWindowWhileItIsMadeAtItsDpiGetsOneWindow) {
  {
    TDpiReactingForm form(nullptr);
    // Designed elsewhere: making the window moves it to the screen's DPI,
    // and its reaction asks for the window in the middle of that.
    form.ChangeDpi(SystemDpi() == 192 ? 144 : 192);
    form.react = true;
    HWND made = form.Handle();
    EXPECT_EQ(WindowsOfClass("TDpiReactingForm"), 1);
    EXPECT_EQ(form.Handle(), made);
    EXPECT_EQ(ControlOfWindow(made), &form);
  }
  EXPECT_EQ(WindowsOfClass("TDpiReactingForm"), 0) << "no window outlives its form";
}

TEST_F(Framework, ParentReflectsNotificationsToTheChild) {
  TForm& form = Application().CreateForm<TForm>();
  auto& button = form.Create<TPushButton>();
  button.SetParent(&form);
  button.SetBounds(5, 5, 80, 24);
  button.SetCaption("Press");
  HWND b = button.Handle();
  char cls[32] = {};
  GetClassNameA(b, cls, sizeof cls);
  EXPECT_STREQ(cls, "TPushButton");
  EXPECT_EQ(GetParent(b), form.Handle());
  char text[32] = {};
  GetWindowTextA(b, text, sizeof text);
  EXPECT_STREQ(text, "Press");

  std::vector<UINT> reflected;
  auto old = button.WindowProc;
  button.WindowProc = [&](TMessage& m) {
    if (m.Msg >= CN_BASE) reflected.push_back(m.Msg);
    old(m);
  };
  SendMessageA(b, BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(button.clicks, 1);
  EXPECT_NE(std::find(reflected.begin(), reflected.end(), CN_COMMAND), reflected.end());
  button.WindowProc = old;

  // Freeing the control takes its window with it; the form goes on.
  form.FreeComponent(&button);
  EXPECT_FALSE(IsWindow(b));
  EXPECT_EQ(form.ControlCount(), 0);
}

TEST_F(Framework, AnExceptionInAHandlerIsShownAndTheProgramGoesOn) {
  TForm& form = Application().CreateForm<TForm>();
  form.OnKeyDown = [](TObject*, WORD& key, TShiftState) {
    if (key == 'X') throw std::runtime_error("Unable to write to C:\\x.ini");
  };
  SendMessageA(form.Handle(), WM_KEYDOWN, 'X', 0);
  ASSERT_EQ(errors, std::vector<std::string>{"Unable to write to C:\\x.ini"});
  SendMessageA(form.Handle(), WM_KEYDOWN, 'Y', 0);
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_TRUE(IsWindow(form.Handle()));
}

// The error box itself, read back while it is open and then dismissed.
struct SeenBox {
  std::string caption, text;
};
SeenBox g_box;

void CALLBACK ReadAndCloseErrorBox(HWND, UINT, UINT_PTR id, DWORD) {
  const std::vector<HWND> windows = test::ThreadWindows();
  auto found = std::find_if(windows.begin(), windows.end(),
                            [](HWND w) { return WindowClassName(w) == "#32770" && IsWindowVisible(w); });
  if (found == windows.end()) return;
  HWND box = *found;
  KillTimer(nullptr, id);
  char caption[64] = {}, text[256] = {};
  GetWindowTextA(box, caption, sizeof caption);
  // The message is the box's static text (control id 0xFFFF).
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  g_box = {caption, text};
  PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Framework, WithoutAHandlerTheErrorIsShownInABoxCaptionedWithTheTitle) {
  Application().OnException = nullptr;
  Application().SetTitle("Corvane");
  TForm& form = Application().CreateForm<TForm>();
  form.OnKeyDown = [](TObject*, WORD&, TShiftState) { throw std::runtime_error("Something went wrong"); };
  g_box = {};
  SetTimer(nullptr, 0, 50, ReadAndCloseErrorBox);
  SendMessageA(form.Handle(), WM_KEYDOWN, 'X', 0);
  EXPECT_EQ(g_box.caption, "Corvane");
  EXPECT_EQ(g_box.text, "Something went wrong");
  EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(Framework, FormStylesSizesAndClosing) {
  TForm& main = Application().CreateForm<TForm>();
  TForm& other = Application().CreateForm<TForm>();
  EXPECT_EQ(Application().MainForm(), &main);
  main.SetFormStyle(TFormStyle::fsStayOnTop);
  HWND w = main.Handle();
  EXPECT_EQ(GetWindow(w, GW_OWNER), Application().Handle());
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION);
  main.SetBorderStyle(TFormBorderStyle::bsNone);
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_POPUP);
  EXPECT_EQ(w, main.Handle());  // restyled in place, not re-created

  other.SetClientSize(277, 133);
  RECT client;
  GetClientRect(other.Handle(), &client);
  EXPECT_EQ(client.right, 277);
  EXPECT_EQ(client.bottom, 133);

  // The window's own moves update the bounds the program reads.
  SetWindowPos(w, nullptr, 321, 123, 50, 40, SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(main.Left(), 321);
  EXPECT_EQ(main.Top(), 123);

  bool allow = false;
  int asked = 0;
  main.OnCloseQuery = [&](TObject*, bool& canClose) {
    ++asked;
    canClose = allow;
  };
  main.Show();
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(Application().Terminated());
  EXPECT_TRUE(IsWindowVisible(w));
  allow = true;
  other.Show();
  other.Close();  // a secondary form only hides
  EXPECT_FALSE(IsWindowVisible(other.Handle()));
  EXPECT_FALSE(Application().Terminated());
  SendMessageA(w, WM_CLOSE, 0, 0);
  EXPECT_TRUE(Application().Terminated());
  EXPECT_FALSE(IsWindowVisible(w));
  Pump();  // takes the quit message out of the queue
}

TEST_F(Framework, LoadedRunsBeforeOnCreate) {
  struct TProbe : TComponent {
    TProbe(TComponent* owner, std::vector<std::string>& log) : TComponent(owner), m_log(log) {}
    void Loaded() override {
      TComponent::Loaded();
      m_log.push_back("loaded");
    }
    std::vector<std::string>& m_log;
  };
  struct TProbeForm : TForm {
    TProbeForm(TComponent* owner, std::vector<std::string>& log) : TForm(owner) {
      Create<TProbe>(log);
      OnCreate = [&log](TObject*) { log.push_back("create"); };
    }
  };
  std::vector<std::string> log;
  auto& form = Application().CreateForm<TProbeForm>(log);
  EXPECT_EQ(log, (std::vector<std::string>{"loaded", "create"}));
  EXPECT_TRUE(form.IsLoaded());
}

}  // namespace
}  // namespace corvane
