// Helpers of the skinned-window and control tests: the stored skin's bytes, screen
// captures and pixel comparison against the skin's pictures.
#pragma once

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "framework/Forms.h"
#include "pictures/WinSurface.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/SkinLoad.h"
#include "skin/data/SkinPackage.h"
#include "skin/data/WinSkinData.h"
#include "skin/draw/ElementDrawing.h"
#include "skin/forms/WinSkinForm.h"

namespace corvane::test::skin {

inline std::vector<std::uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::uint8_t> StoredSkin() { return FileBytes(CORVANE_STORED_SKIN); }

// The stored skin with some of its files left out (empty bytes) or replaced,
// and its definition (the .ini file) edited.
inline std::vector<std::uint8_t> AlteredSkin(
    const std::map<std::string, std::vector<std::uint8_t>>& replaced,
    const std::function<void(std::string&)>& editDefinition = {}) {
  TSkinReader reader;
  reader.Load(StoredSkin());
  std::vector<SkinPackageFile> files;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const std::string& name = reader.Entries()[i].name;
    std::vector<std::uint8_t> bytes = reader.FileAt(i);
    if (auto it = replaced.find(name); it != replaced.end()) bytes = it->second;
    if (editDefinition && name.size() > 4 && name.compare(name.size() - 4, 4, ".ini") == 0) {
      std::string text(bytes.begin(), bytes.end());
      editDefinition(text);
      bytes.assign(text.begin(), text.end());
    }
    if (!bytes.empty()) files.emplace_back(name, bytes);
  }
  // Files the stored skin does not have are added.
  for (const auto& [name, bytes] : replaced)
    if (!bytes.empty() && std::none_of(files.begin(), files.end(), [&](const SkinPackageFile& f) { return f.first == name; }))
      files.emplace_back(name, bytes);
  return WriteSkinStream(files, reader.Version());
}

// A skin component of the application, read as a stored form leaves it and
// switched on, with the given skin (the stored one by default).
inline TSkinData& ActiveSkinData(const std::vector<std::uint8_t>& stream = StoredSkin()) {
  TSkinData& data = Application().Create<TSkinData>();
  data.BeginReading();
  data.SetActive(true);
  data.SetSkinStream(stream);
  data.Loaded();
  return data;
}

// What the screen shows inside r (window region and all); what lies off the
// screen (a maximised window's overhang) stays black.
inline Surface CaptureScreen(const RECT& r) {
  int w = r.right - r.left, h = r.bottom - r.top;
  OffscreenSurface shot(w, h);
  RECT visible{};
  RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (IntersectRect(&visible, &r, &screenRect)) {
    HDC screen = GetDC(nullptr);
    BitBlt(shot.Dc(), visible.left - r.left, visible.top - r.top, visible.right - visible.left,
           visible.bottom - visible.top, screen, visible.left, visible.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  }
  GdiFlush();
  Surface out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.At(x, y) = shot.View().At(x, y) | 0xFF000000;
  return out;
}

// Pixels of `expected` placed at `at` in `shot` that differ; magenta pixels
// of the picture are cut out of the window and not compared.
inline int Mismatches(const Surface& shot, const Surface& expected, Point at, const Rect& only) {
  int bad = 0;
  for (int y = only.top; y < only.bottom; ++y)
    for (int x = only.left; x < only.right; ++x) {
      Pixel e = expected.At(x, y) | 0xFF000000;
      if (SameColour(e, kColourKey)) continue;
      if ((shot.At(at.x + x, at.y + y) & 0xFFFFFF) != (e & 0xFFFFFF)) ++bad;
    }
  return bad;
}

inline RECT WindowRectOf(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

inline RECT ClientOnScreen(HWND w) {
  RECT c{};
  GetClientRect(w, &c);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&c), 2);
  return c;
}

inline bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline Surface CaptureWindow(HWND window) {
  return CaptureScreen(WindowRectOf(window));
}

// The window as the screen shows it once everything painted has reached it
// (the system puts window pictures on the screen a moment after they are
// drawn, while the program handles its messages).
inline Surface CaptureSettled(HWND window) {
  UpdateWindow(window);
  GdiFlush();
  for (int i = 0; i < 3; ++i) {
    Pump();
    Sleep(15);
  }
  return CaptureWindow(window);
}

// Mismatches over the frame ring of a nine-slice picture: its margins, where
// no caption is ever drawn.
inline int RingMismatches(const Surface& shot, const Surface& expected, int left, int top,
                          int right, int bottom) {
  int w = expected.Width(), h = expected.Height();
  return Mismatches(shot, expected, {0, 0}, {0, 0, w, top}) +
         Mismatches(shot, expected, {0, 0}, {0, h - bottom, w, h}) +
         Mismatches(shot, expected, {0, 0}, {0, top, left, h - bottom}) +
         Mismatches(shot, expected, {0, 0}, {w - right, top, w, h - bottom});
}

// One cell of a strip picture on magenta, as the skin paints it.
inline Surface CellPicture(const Surface& strip, int frames, int cell) {
  Surface out(strip.Width() / frames, strip.Height(), 0xFFFF00FF);
  DrawFrameCell(out.View(), out.View().Bounds(), strip, false, frames, cell);
  return out;
}

// The first skinning object of kind T a control owns, or nullptr.
template <typename T>
T* SkinOf(TComponent& control) {
  for (int i = 0; i < control.ComponentCount(); ++i)
    if (auto* s = dynamic_cast<T*>(control.Components(i))) return s;
  return nullptr;
}

// A new control of form on parent (the form itself when none), prepared
// before its window is made.
template <typename T>
T& PlaceOn(TForm& form, TWinControl* parent, int left, int top, int width, int height,
           const std::function<void(T&)>& prepare = {}) {
  T& control = form.Create<T>();
  control.SetBounds(left, top, width, height);
  if (prepare) prepare(control);
  control.SetParent(parent ? parent : &form);
  return control;
}

// Shows form in front and waits until its skin's frame is active (its
// controls walked); false when that never came.
inline bool ShowAndAwaitSkin(TForm& form) {
  form.Show();
  SetForegroundWindow(form.Handle());
  bool skinned = PumpUntil([&] {
    TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(form.Handle());
    return skin && skin->FrameState() == kFrameActive;
  });
  Pump();
  return skinned;
}

// A skin test's clean start: no forms or skin manager left by an earlier
// test, and the mouse parked in the screen's corner (where an earlier test
// left it, a control would show hot).
inline void FreshStart() {
  ResetApplication();
  TSkinManage::Destroy();
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// The process's handles: the framework's owned ones, GDI and USER objects.
struct HandleCounts {
  long owned;
  DWORD gdi;
  DWORD user;
};

inline HandleCounts CurrentHandleCounts() {
  return {OwnedHandleCount(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
          GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

// Repeated work left the counts where they were; systemSlack allows that
// many GDI and USER objects the system makes and caches on its own (menus).
inline void ExpectHandleCountsKept(const HandleCounts& before, DWORD systemSlack = 0) {
  const HandleCounts now = CurrentHandleCounts();
  EXPECT_EQ(now.owned, before.owned) << "owned handles";
  if (systemSlack == 0) {
    EXPECT_EQ(now.gdi, before.gdi) << "GDI objects";
    EXPECT_EQ(now.user, before.user) << "USER objects";
    return;
  }
  EXPECT_LE(now.gdi, before.gdi + systemSlack) << "GDI objects";
  EXPECT_LE(now.user, before.user + systemSlack) << "USER objects";
}

// Runs open (which returns when the menus it opened have closed) with step
// called on every tick while a popup menu is open, until it answers true.
inline std::function<bool(HWND menu)>& MenuStep() {
  static std::function<bool(HWND menu)> step;
  return step;
}
inline void CALLBACK StepOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  if (MenuStep()(menu)) KillTimer(nullptr, id);
}
inline void WhileMenuOpen(const std::function<void()>& open, std::function<bool(HWND menu)> step) {
  MenuStep() = std::move(step);
  UINT_PTR timer = SetTimer(nullptr, 0, 50, StepOpenMenu);
  open();
  KillTimer(nullptr, timer);
  Pump();
  MenuStep() = nullptr;
}

// Switches the skin component off and on again, each taking effect at once.
inline void SkinCycle(TSkinData& data) {
  data.SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  data.SetActive(true);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
}

}  // namespace corvane::test::skin
