// The yardstick of the start-up benchmark: a static Win32 program that only
// registers a class and shows one small window, then waits to be closed.
// With CORVANE_DPI_AWARE set it is aware of each monitor's DPI, as the
// launcher's manifest makes the launcher, and its window is as large as the
// launcher's at that DPI (32 pixels at 96); the call is written out here so
// the yardstick links nothing of ours.
#include <windows.h>

#include <cstdlib>

namespace {

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  int size = 32;
  if (std::getenv("CORVANE_DPI_AWARE")) {
    using SetContextFn = BOOL(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContextFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    if (set && set(reinterpret_cast<HANDLE>(-4))) {
      HDC screen = GetDC(nullptr);
      size = MulDiv(32, GetDeviceCaps(screen, LOGPIXELSY), 96);
      ReleaseDC(nullptr, screen);
    }
  }
  WNDCLASSA wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = "BareWindow";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "BareWindow", "Bare", WS_POPUP,
                                986, 232, size, size, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
