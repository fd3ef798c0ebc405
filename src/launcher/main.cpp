// Program start. Until the launcher window exists this brings the framework
// up far enough to prove the exe starts and ends cleanly.
#include "launcher/main.h"

#include <windows.h>

namespace corvane {

int RunProgram() {
  MSG msg;
  PostQuitMessage(0);
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return static_cast<int>(msg.wParam);
}

}  // namespace corvane
