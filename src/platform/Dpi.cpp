#include "platform/Dpi.h"

#include "core/DpiScale.h"

namespace corvane {

namespace {

// The per-monitor entry points, or nullptr on systems without them.
struct DpiFunctions {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
  using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

  GetDpiForWindowFn getDpiForWindow = nullptr;
  GetSystemMetricsForDpiFn getSystemMetricsForDpi = nullptr;
  SystemParametersInfoForDpiFn systemParametersInfoForDpi = nullptr;
  GetDpiForMonitorFn getDpiForMonitor = nullptr;

  DpiFunctions() {
    if (HMODULE user = GetModuleHandleA("user32.dll")) {
      getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
      getSystemMetricsForDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
          reinterpret_cast<void*>(GetProcAddress(user, "GetSystemMetricsForDpi")));
      systemParametersInfoForDpi = reinterpret_cast<SystemParametersInfoForDpiFn>(
          reinterpret_cast<void*>(GetProcAddress(user, "SystemParametersInfoForDpi")));
    }
    // shcore is loaded only when the monitor's DPI is asked for (a second
    // monitor's DPI has no other source); it stays loaded with the process.
    if (HMODULE shcore = LoadLibraryA("shcore.dll"))
      getDpiForMonitor = reinterpret_cast<GetDpiForMonitorFn>(
          reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
  }
};

const DpiFunctions& Functions() {
  static const DpiFunctions functions;
  return functions;
}

}  // namespace

bool DeclarePerMonitorDpiAwareness() {
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  HMODULE user = GetModuleHandleA("user32.dll");
  auto set = user ? reinterpret_cast<SetContextFn>(
                        reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")))
                  : nullptr;
  // -4 is the per-monitor version 2 context.
  return set && set(reinterpret_cast<HANDLE>(-4));
}

int SystemDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) ReleaseDC(nullptr, screen);
    return value > 0 ? value : kDesignDpi;
  }();
  return dpi;
}

int SystemDpiOfWindow(HWND window) {
  if (window && Functions().getDpiForWindow)
    if (const UINT dpi = Functions().getDpiForWindow(window)) return static_cast<int>(dpi);
  return SystemDpi();
}

int DpiAtPoint(POINT screen) {
  if (Functions().getDpiForMonitor) {
    constexpr int kEffectiveDpi = 0;
    UINT x = 0, y = 0;
    HMONITOR monitor = MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
    if (monitor && SUCCEEDED(Functions().getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && y > 0)
      return static_cast<int>(y);
  }
  return SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  if (Functions().getSystemMetricsForDpi) return Functions().getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
  // Without the call: the system's value is for the system DPI.
  return ScaleBetweenDpis(GetSystemMetrics(index), SystemDpi(), dpi);
}

UniqueFont MakeNonClientFont(NonClientFont which, int dpi) {
  auto pick = [which](auto& metrics) -> auto& {
    switch (which) {
      case NonClientFont::Caption: return metrics.lfCaptionFont;
      case NonClientFont::Menu: return metrics.lfMenuFont;
      case NonClientFont::Status: return metrics.lfStatusFont;
      case NonClientFont::Message: break;
    }
    return metrics.lfMessageFont;
  };
  if (Functions().systemParametersInfoForDpi) {
    // The call exists only with the wide structure.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (Functions().systemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                               static_cast<UINT>(dpi)))
      return UniqueFont(CreateFontIndirectW(&pick(metrics)));
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
  LOGFONTW& font = pick(metrics);
  font.lfHeight = ScaleBetweenDpis(font.lfHeight, SystemDpi(), dpi);
  return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace corvane
