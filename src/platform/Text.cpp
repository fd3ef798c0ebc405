#include "platform/Text.h"

#include <algorithm>

#include "core/Utf8.h"

namespace corvane {

std::wstring Utf8ToWide(std::string_view text) {
  const std::u16string wide = Utf8ToUtf16(text);
  return std::wstring(wide.begin(), wide.end());
}

std::string WideToUtf8(std::wstring_view text) {
  return Utf16ToUtf8(std::u16string(text.begin(), text.end()));
}

int DrawTextUtf8(HDC dc, std::string_view text, RECT* rect, UINT format) {
  std::wstring wide = Utf8ToWide(text);
  format &= ~static_cast<UINT>(DT_MODIFYSTRING);
  return DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), rect, format);
}

SIZE TextExtentUtf8(HDC dc, std::string_view text) {
  std::wstring wide = Utf8ToWide(text);
  SIZE size{};
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  return size;
}

std::string MenuItemText(HMENU menu, UINT item, bool byPosition) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  if (!menu || !GetMenuItemInfoW(menu, item, byPosition, &info) || info.cch == 0) return {};
  std::wstring text(info.cch + 1, L'\0');
  info.dwTypeData = text.data();
  info.cch += 1;
  if (!GetMenuItemInfoW(menu, item, byPosition, &info)) return {};
  text.resize(info.cch);
  return WideToUtf8(text);
}

std::wstring WindowTextWide(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(window, text.data(), length + 1), 0)));
  return text;
}

int CompareTextForDisplay(std::string_view a, std::string_view b) {
  std::wstring wa = Utf8ToWide(a), wb = Utf8ToWide(b);
  int r = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                          static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()),
                          nullptr, nullptr, 0);
  if (r == 0) return wa.compare(wb);
  return r - CSTR_EQUAL;
}

}  // namespace corvane
