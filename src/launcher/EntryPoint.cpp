// Program entry: hands over to the launcher's program start.
// The launcher's header comes first: the system headers define RGB as a
// macro, which must not reach our colour helpers.
#include "launcher/main.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return corvane::RunProgram(); }
