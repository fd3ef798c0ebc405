#include "skin/data/WinBitmapUtils.h"

#include <algorithm>
#include <cwchar>

#include "framework/Controls.h"
#include "platform/Handles.h"
#include "platform/Text.h"
#include "skin/data/BitmapUtils.h"

namespace corvane {

namespace {

// The older family of systems sets the top bit of GetVersion's result.
bool IsNtFamily() {
  return (GetVersion() & 0x80000000u) == 0;
}

// An entry point of user32 that older systems lack, looked up once by name.
// user32 is one of the program's own imports, so it stays loaded for the
// process's life and the borrowed module handle never dangles.
template <typename Function>
Function OptionalUser32(const char* name) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  FARPROC found = user32 ? GetProcAddress(user32, name) : nullptr;
  // Through the generic function type, which the compiler accepts as a
  // deliberate cast between unrelated function signatures.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetScrollBarInfoFunction = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TrackMouseEventFunction = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);

std::string WideToAnsi(const std::wstring& text) {
  return WideToUtf8(text);
}

}  // namespace

void GradientFill(HDC dc, const RECT& rect, Colour colour1, bool vertical, Colour colour2) {
  if (!RectVisible(dc, &rect)) return;
  const Colour c1 = static_cast<Colour>(ColorToRGB(colour1));
  const Colour c2 = static_cast<Colour>(ColorToRGB(colour2));
  const int n = vertical ? rect.bottom - rect.top : rect.right - rect.left;
  if (n <= 0) return;
  RECT clip{};
  if (GetClipBox(dc, &clip) == ERROR) return;
  const int clipStart = vertical ? clip.top - rect.top : clip.left - rect.left;
  const int clipEnd = vertical ? clip.bottom - rect.top : clip.right - rect.left;
  const int first = std::max(clipStart, 0);
  // The clip box's end is exclusive: its last band is the one before it.
  const int last = std::min(n - 1, clipEnd - 1);
  const auto& colours = SharedGradientCache().Lookup(n, c1, c2);
  for (int i = first; i <= last; ++i) {
    const RECT band = vertical ? RECT{rect.left, rect.top + i, rect.right, rect.top + i + 1}
                               : RECT{rect.left + i, rect.top, rect.left + i + 1, rect.bottom};
    UniqueBrush brush(
        CreateSolidBrush(static_cast<COLORREF>(colours[static_cast<std::size_t>(i)])));
    FillRect(dc, &band, brush.Get());
  }
}

std::wstring AnsiToWide(const std::string& text) {
  return Utf8ToWide(text);
}

std::wstring WideCopy(const wchar_t* text, int count) {
  if (!text || (count < 0 && count != -1)) return {};
  if (count == -1) return std::wstring(text);
  return std::wstring(text, wcsnlen(text, static_cast<std::size_t>(count)));
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  format &= ~static_cast<UINT>(DT_MODIFYSTRING);
  if (IsNtFamily())
    return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  const std::string narrow = WideToAnsi(text);
  return DrawTextA(dc, narrow.c_str(), -1, &rect, format);
}

bool SafeGetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO& info) {
  static const auto getScrollBarInfo = OptionalUser32<GetScrollBarInfoFunction>("GetScrollBarInfo");
  if (!getScrollBarInfo) return false;
  info.cbSize = sizeof info;
  return getScrollBarInfo(window, idObject, &info) != FALSE;
}

void TrackMouseLeave(HWND window, bool nonClient) {
  static const auto trackMouseEvent = OptionalUser32<TrackMouseEventFunction>("TrackMouseEvent");
  if (!trackMouseEvent) return;
  TRACKMOUSEEVENT request{sizeof request, static_cast<DWORD>(TME_LEAVE | (nonClient ? TME_NONCLIENT : 0)), window, 0};
  trackMouseEvent(&request);
}

}  // namespace corvane
