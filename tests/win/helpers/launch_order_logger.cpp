// Appends one line "<process creation time> <arguments after the first>" to
// the file named by its first argument. Processes started one after another
// may run in any order; their creation times keep the order they were
// started in, so a test can check the order of starts.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  unsigned long long stamp = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  std::string line = std::to_string(stamp);
  for (int i = 2; i < __argc; ++i) line += std::string(" ") + __argv[i];
  line += "\n";
  // Several copies may write at once: take the file alone, retrying briefly.
  for (int attempt = 0; attempt < 200; ++attempt) {
    HANDLE h = CreateFileA(__argv[1], FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      CloseHandle(h);
      return 0;
    }
    Sleep(10);
  }
  return 3;
}
