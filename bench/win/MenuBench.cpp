// Times the launcher's link menu with 50 links, skinned against the
// framework's own drawing of the same menu in the same run: from the call
// that opens it to the menu window fully painted (median of many openings),
// and one skinned item drawn against one framework-drawn item. Prints the
// figures and the ratios.
#include "core/Geometry.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "framework/Forms.h"
#include "launcher/main.h"
#include "pictures/WinSurface.h"
#include "skin/manager/WinSkinManage.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSkinPopMenu.h"

using namespace corvane;

namespace {

using bench::Clock;
using bench::Median;
using bench::MedianTime;
using bench::Millis;
using bench::Pump;

Clock::time_point g_opened;
double g_elapsed = 0;

// Inside the menu loop: the menu is done once its window shows and nothing
// of it waits to be painted.
void CALLBACK WhenPainted(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu) || GetUpdateRect(menu, nullptr, FALSE)) return;
  g_elapsed = Millis(Clock::now() - g_opened);
  KillTimer(nullptr, id);
  EndMenu();
}

double MedianOpening(TForm1& form, int rounds) {
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    UINT_PTR timer = SetTimer(nullptr, 0, 1, WhenPainted);
    g_opened = Clock::now();
    form.PopupMenu1->Popup(100, 100);
    KillTimer(nullptr, timer);
    Pump();
    times.push_back(g_elapsed);
  }
  return Median(std::move(times));
}

template <typename Draw>
double MedianItem(int rounds, Draw&& draw) {
  OffscreenSurface canvas(200, 22);
  RECT r{0, 0, 200, 22};
  return MedianTime(rounds, [&](int i) { draw(canvas.Dc(), r, i % 2 ? ODS_SELECTED : 0u); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: menu_bench stored.skn folder\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  std::vector<std::uint8_t> stream{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::string store = std::string(argv[2]) + "\\Corvane.ini";
  {
    LinkStore links;
    links.Open(store);
    for (int i = 0; i < 50; ++i) links.WriteString("Link " + std::to_string(i), "Link", argv[0]);
    links.Close();
  }
  TSkinData& data = Application().Create<TSkinData>();
  data.BeginReading();
  data.SetActive(true);
  data.SetSkinStream(stream);
  data.Loaded();
  if (data.SkinEmpty()) {
    std::printf("the skin did not load\n");
    return 1;
  }
  TForm1& form = Application().CreateForm<TForm1>(store);
  form.Show();
  SetForegroundWindow(form.Handle());
  auto started = [&] {
    TWinSkinForm* skin = TSkinManage::Instance()->FindFormSkin(form.Handle());
    return skin && skin->FrameState() == kFrameActive;
  };
  for (int i = 0; i < 200 && !started(); ++i) {
    Pump();
    Sleep(10);
  }
  if (!form.PopupMenu1->OnDrawItem) {
    std::printf("the launcher's menu was not handed to the skin\n");
    return 1;
  }
  const int rounds = 40;
  MedianOpening(form, 3);  // warm up: icons, fonts, the first menu window
  double skinned = MedianOpening(form, rounds);
  TMenuItem& item = *form.PopupMenu1->Items(1);
  double skinItem = MedianItem(400, [&](HDC dc, const RECT& r, UINT state) {
    DrawMenuItem(data, nullptr, LookOf(item), dc, r, state);
  });
  double plainItem = MedianItem(400, [&](HDC dc, const RECT& r, UINT state) {
    form.PopupMenu1->DrawItem(item, dc, r, state);
  });

  data.SetActive(false);
  TSkinManage::Instance()->RunPendingAction();
  Pump();
  double system = MedianOpening(form, rounds);
  std::printf("opening the 50-link menu, median over %d: framework %.3f ms, skinned %.3f ms, ratio %.2f\n", rounds,
              system, skinned, system > 0 ? skinned / system : 0.0);
  std::printf("one menu item, median over 400: framework %.3f ms, skinned %.3f ms, ratio %.2f\n", plainItem,
              skinItem, plainItem > 0 ? skinItem / plainItem : 0.0);
  ResetApplication();
  TSkinManage::Destroy();
  return 0;
}
