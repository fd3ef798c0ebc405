// Program entry: hands over to the launcher's program start.
#include <windows.h>

#include "launcher/main.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return corvane::RunProgram(); }
