// Times the skinned frame against the system's own in the same run, on a
// dialog-framed window like the link editor (client 531 x 330): one
// WM_NCPAINT each way (median of many), and skinning the window from the
// start message to its first painted frame; one caption button repainted for
// a state change against the system drawing its close button. Prints the
// figures and the ratios.
#include "core/Geometry.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "BenchSupport.h"
#include "framework/Forms.h"
#include "platform/Dpi.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"

using namespace corvane;

namespace {

using bench::Clock;
using bench::MedianTime;
using bench::Millis;
using bench::Pump;

double MedianNcPaint(HWND window, int rounds) {
  return MedianTime(rounds, [&](int) { SendMessageA(window, WM_NCPAINT, 1, 0); });
}

// The system's own close button, drawn into the caption as it would on hover.
double MedianSystemButton(HWND window, int rounds) {
  return MedianTime(rounds, [&](int i) {
    HDC dc = GetWindowDC(window);
    RECT button{500, 5, 517, 22};
    DrawFrameControl(dc, &button, DFC_CAPTION, DFCS_CAPTIONCLOSE | (i % 2 ? DFCS_HOT : 0));
    ReleaseDC(window, dc);
  });
}

TWinSysButton* CloseButton(TWinSkinForm& skin) {
  for (const auto& b : skin.Buttons())
    if (b->Visible && b->Element->Action == 0) return b.get();
  return nullptr;
}

// The skin's close button repainted hot and normal by turns.
double MedianSkinButton(TWinSkinForm& skin, int rounds) {
  TWinSysButton* close = CloseButton(skin);
  if (!close) return -1;
  return MedianTime(rounds, [&](int i) {
    close->State = i % 2 ? kNcNormal : kNcHot;
    close->Paint();
  });
}

// The whole change of state under the mouse: entering (hover tick and leave
// notice started, the button painted) and leaving (hint hidden, painted).
double MedianSkinButtonChange(TWinSkinForm& skin, int rounds) {
  TWinSysButton* close = CloseButton(skin);
  if (!close) return -1;
  return MedianTime(rounds, [&](int i) {
    if (i % 2) close->MouseLeave();
    else close->MouseEnter();
  });
}

}  // namespace

int main(int argc, char** argv) {
  // With CORVANE_DPI_AWARE set (and a display of another DPI, e.g. the
  // prefix CORVANE_WINE_DPI=192 gives) both frames are drawn at that DPI.
  if (std::getenv("CORVANE_DPI_AWARE")) DeclarePerMonitorDpiAwareness();
  if (argc < 2) {
    std::printf("usage: frame_bench stored.skn\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<std::uint8_t> stream{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  TSkinData& data = Application().Create<TSkinData>();
  data.BeginReading();
  data.SetActive(true);
  data.SetSkinStream(stream);
  data.Loaded();
  if (data.SkinEmpty()) {
    std::printf("the skin did not load\n");
    return 1;
  }
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsDialog);
  form.BorderIcons = biSystemMenu | biMinimize;
  form.SetCaption("Corvane version: 1.3.3.16");
  form.SetClientSize(531, 330);
  // Skinning waits until we ask for it.
  TSkinManage::Instance()->Active = false;
  form.Show();
  Pump();
  HWND window = form.Handle();
  const int rounds = 400;
  double system = MedianNcPaint(window, rounds);
  double systemButton = MedianSystemButton(window, rounds);

  TSkinManage::Instance()->Active = true;
  auto t0 = Clock::now();
  TSkinManage::Instance()->SkinWindow(window);
  MSG msg;
  while (PeekMessageA(&msg, window, WM_SKINSTART, WM_SKINSTART, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
  double start = Millis(Clock::now() - t0);
  TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(window);
  if (!skin || skin->FrameState() != kFrameActive) {
    std::printf("the window was not skinned\n");
    return 1;
  }
  Pump();
  double skinned = MedianNcPaint(window, rounds);
  double skinButton = MedianSkinButton(*skin, rounds);
  double skinChange = MedianSkinButtonChange(*skin, rounds);
  std::printf("window at %d DPI\n", form.Dpi());
  std::printf("WM_NCPAINT median over %d: system frame %.3f ms, skinned frame %.3f ms, ratio %.2f\n", rounds,
              system, skinned, system > 0 ? skinned / system : 0.0);
  std::printf("skinning the window (start message to first painted frame): %.3f ms\n", start);
  std::printf("caption button repaint median over %d: system %.3f ms, skinned %.3f ms, ratio %.2f\n", rounds,
              systemButton, skinButton, systemButton > 0 ? skinButton / systemButton : 0.0);
  std::printf("caption button hot and back under the mouse (enter/leave with their bookkeeping): %.3f ms\n",
              skinChange);
  ResetApplication();
  TSkinManage::Destroy();
  return 0;
}
