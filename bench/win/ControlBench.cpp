// Times repainting the whole link editor (frame, group boxes, buttons,
// status bar and the rest) with its controls skinned against the same
// editor unskinned, in the same run (median of many), and scrolling its
// 60-link list by a line with and without the skin's bar; counts which
// buttons repaint while the mouse moves along the row of New, Save, Delete
// and Test: only the button that changed state may. Prints the figures.
#include "core/Geometry.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "framework/Forms.h"
#include "framework/RangeCtrls.h"
#include "framework/Subclass.h"
#include "launcher/main.h"
#include "launcher/supportForm.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/WinSkinData.h"

using namespace corvane;

namespace {

using bench::MedianTime;
using bench::Pump;

double MedianRepaint(HWND window, int rounds) {
  return MedianTime(rounds, [&](int) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  });
}

// Every control of window painted into one memory DC, as WM_PAINT with a
// DC asks (the drawing work alone, without the screen's pace).
double MedianPaintInto(HWND window, int rounds) {
  RECT r{};
  GetWindowRect(window, &r);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ old = SelectObject(memory, bitmap);
  std::vector<HWND> children;
  EnumChildWindows(
      window,
      [](HWND w, LPARAM p) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&children));
  double median = MedianTime(rounds, [&](int) {
    for (HWND child : children) {
      SendMessageA(child, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
      SendMessageA(child, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    }
  });
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return median;
}

// A line down (or up, every other round) and the repaint it causes: the
// list's rows, its bar, and with the skin the bar's overlay.
double MedianLineScroll(HWND list, int rounds) {
  return MedianTime(rounds, [&](int i) {
    SendMessageA(list, WM_VSCROLL, i % 2 ? SB_LINEUP : SB_LINEDOWN, 0);
    SendMessageA(list, WM_VSCROLL, SB_ENDSCROLL, 0);
    RedrawWindow(GetParent(list), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: control_bench stored.skn\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<std::uint8_t> stream{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string store = std::string(temp) + "corvane-control-bench.ini";
  DeleteFileA(store.c_str());
  for (int i = 0; i < 60; ++i) {
    std::string name = "Link " + std::to_string(i);
    WritePrivateProfileStringA(name.c_str(), "Link", "C:\\windows\\notepad.exe", store.c_str());
  }

  TForm1& launcher = Application().CreateForm<TForm1>(store);
  launcher.Show();
  TForm2& editor = Application().CreateForm<TForm2>();
  editor.Show();
  Pump();
  HWND window = editor.Handle();
  const int rounds = 200;
  double plain = MedianRepaint(window, rounds);
  double plainWork = MedianPaintInto(window, rounds);
  HWND list = editor.ListBox1->Handle();
  double plainScroll = MedianLineScroll(list, rounds);

  editor.SkinData1->SetSkinStream(stream);
  editor.SkinData1->SetActive(true);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  if (SendMessageA(editor.Button11->Handle(), 0x3523 /* WM_SKINQUERY */, 0, 0) != 1) {
    std::printf("the editor's controls were not skinned\n");
    return 1;
  }
  double skinned = MedianRepaint(window, rounds);
  double skinnedWork = MedianPaintInto(window, rounds);
  double skinnedScroll = MedianLineScroll(list, rounds);
  std::printf(
      "whole editor repaint on screen, median over %d: unskinned %.3f ms, skinned %.3f ms, ratio "
      "%.2f\n",
      rounds, plain, skinned, plain > 0 ? skinned / plain : 0.0);
  std::printf(
      "every control painted into memory, median over %d: unskinned %.3f ms, skinned %.3f ms, "
      "ratio %.2f\n",
      rounds, plainWork, skinnedWork, plainWork > 0 ? skinnedWork / plainWork : 0.0);
  std::printf(
      "60-link list scrolled by a line and repainted, median over %d: system's bar %.3f ms, "
      "skinned bar %.3f ms, ratio %.2f\n",
      rounds, plainScroll, skinnedScroll, plainScroll > 0 ? skinnedScroll / plainScroll : 0.0);

  // Paints per button while the mouse moves along the row.
  std::vector<TButton*> row{editor.Button11, editor.Button2, editor.Button7, editor.Button12};
  std::map<TButton*, int> paints;
  std::vector<std::unique_ptr<ControlProcHook>> counters;
  for (TButton* b : row) {
    auto hook = std::make_unique<ControlProcHook>();
    ControlProcHook* self = hook.get();
    hook->Install(*b, [&paints, b, self](TMessage& m) {
      if (m.Msg == WM_PAINT) ++paints[b];
      self->CallOld(m);
    });
    counters.push_back(std::move(hook));
  }
  int extra = 0;
  TButton* previous = nullptr;
  for (TButton* b : row) {
    paints.clear();
    if (previous) SendMessageA(previous->Handle(), WM_MOUSELEAVE, 0, 0);
    SendMessageA(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageA(b->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(8, 6));  // still hot: no repaint
    Pump();
    for (auto& [button, count] : paints) {
      int allowed = (button == b || button == previous) ? 1 : 0;
      extra += std::max(count - allowed, 0);
      std::printf("  over %-6s: %-6s painted %d time(s)\n", b->Caption().c_str(),
                  button->Caption().c_str(), count);
    }
    previous = b;
  }
  std::printf("hover along the row: %d paint(s) beyond the buttons that changed state\n", extra);
  counters.clear();

  // A progress bar stepping through its range, skinned and, with its skin
  // switched off, as the system draws it; each step reaches the window at once.
  TForm& bars = Application().CreateForm<TForm>();
  bars.SetBounds(40, 40, 300, 80);
  TProgressBar& bar = bars.Create<TProgressBar>();
  bar.SetBounds(10, 10, 260, 18);
  bar.SetParent(&bars);
  bars.Show();
  Pump();
  auto stepping = [&] {
    return MedianTime(rounds, [&](int i) {
      bar.SetPosition(i % 101);
      UpdateWindow(bar.Handle());
    });
  };
  if (SendMessageA(bar.Handle(), 0x3523 /* WM_SKINQUERY */, 0, 0) == 1) {
    double skinnedStep = stepping();
    SendMessageA(bar.Handle(), 0x3506 /* WM_SKINENABLE */, 0, 0);
    double plainStep = stepping();
    std::printf(
        "progress bar 260 x 18, one step shown, median over %d: unskinned %.3f ms, skinned %.3f "
        "ms, ratio %.2f\n",
        rounds, plainStep, skinnedStep, plainStep > 0 ? skinnedStep / plainStep : 0.0);
  } else {
    std::printf("the progress bar was not skinned\n");
  }
  ResetApplication();
  TSkinManage::Destroy();
  DeleteFileA(store.c_str());
  for (int i = 0; i < 60; ++i) {
    std::string name = "Link " + std::to_string(i);
    WritePrivateProfileStringA(name.c_str(), "Link", "C:\\windows\\notepad.exe", store.c_str());
  }
  return extra == 0 ? 0 : 1;
}
