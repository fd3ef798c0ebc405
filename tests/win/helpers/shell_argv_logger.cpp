// Appends its arguments, after the first, as one line to the file named by
// the first: "arg1|arg2|...", in UTF-8. Lets a test see that the shell
// started a program and what it handed over, without a window. It reads its
// command line as the system holds it (UTF-16), so arguments in any script
// are recorded exactly, whatever code page it runs in.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 1, '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 4;
  if (argc < 2) return 2;
  FILE* out = _wfopen(argv[1], L"ab");
  if (!out) return 3;
  for (int i = 2; i < argc; ++i) std::fprintf(out, "%s%s", i > 2 ? "|" : "", Utf8(argv[i]).c_str());
  std::fputs("\n", out);
  std::fclose(out);
  LocalFree(argv);
  return 0;
}
