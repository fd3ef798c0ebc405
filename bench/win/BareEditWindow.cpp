// The yardstick of the idle benchmark with the link editor shown: a static
// Win32 program whose one window holds a focused edit field, so the
// system's caret blinks there as it does in the shown editor. It waits to be
// closed.
//
// With --track-leave it also asks for the mouse-leave notice of each window
// the mouse moves over, as any program with hover effects does (the link
// editor's controls do, for their enter and leave events): the reference
// for the editor with the mouse resting over it.
#include <windows.h>

#include <cstring>

namespace {

HWND g_edit = nullptr;

LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, msg, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const bool trackLeave = commandLine && std::strstr(commandLine, "--track-leave") != nullptr;
  WNDCLASSA wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = "BareEditWindow";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, "BareEditWindow", "Bare edit", WS_OVERLAPPEDWINDOW, 40, 40, 300, 120, nullptr,
                                nullptr, instance, nullptr);
  g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 260, 22,
                           window, nullptr, instance, nullptr);
  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(g_edit);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (trackLeave && msg.message == WM_MOUSEMOVE) {
      TRACKMOUSEEVENT request{sizeof request, TME_LEAVE, msg.hwnd, 0};
      TrackMouseEvent(&request);
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
