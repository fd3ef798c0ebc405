// Appends its arguments, after the first, as one line to the file named by
// the first: "arg1|arg2|...". Lets a test see that the shell started a
// program and what it handed over, without a window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 2) return 2;
  FILE* out = std::fopen(__argv[1], "ab");
  if (!out) return 3;
  for (int i = 2; i < __argc; ++i) std::fprintf(out, "%s%s", i > 2 ? "|" : "", __argv[i]);
  std::fputs("\n", out);
  std::fclose(out);
  return 0;
}
