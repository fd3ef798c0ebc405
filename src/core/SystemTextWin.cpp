// The system's own case mapping and code pages.
#include <windows.h>

#include "core/SystemText.h"
#include "core/Utf8.h"

namespace corvane {

namespace {

std::u16string AsU16(const std::wstring& w) {
  return std::u16string(w.begin(), w.end());
}

// The ANSI code page of the user's locale. The process's own code page is
// UTF-8 now, so it cannot say what an older version wrote; the locale can.
UINT LocaleAnsiCodePage() {
  DWORD codePage = 0;
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                      reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(WCHAR)) == 0 ||
      codePage == 0 || codePage == CP_UTF8 || !IsValidCodePage(codePage))
    return 1252;
  return codePage;
}

// Decodes bytes strictly; false when the code page has no character for them.
bool Decode(UINT codePage, const char* bytes, int length, std::wstring& out) {
  int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (needed <= 0) return false;
  std::wstring part(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, part.data(), needed);
  out += part;
  return true;
}

}  // namespace

std::string UpperCaseText(std::string_view text) {
  std::u16string wide = Utf8ToUtf16(text);
  if (wide.empty()) return {};
  auto* data = reinterpret_cast<LPWSTR>(wide.data());
  const int length = static_cast<int>(wide.size());
  // Upper-casing maps each UTF-16 unit to one unit, so the length stays.
  std::wstring upper(wide.size(), L'\0');
  if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, data, length, upper.data(), length,
                    nullptr, nullptr, 0) != length)
    return std::string(text);
  return Utf16ToUtf8(AsU16(upper));
}

std::string LegacyCodePageToUtf8(std::string_view bytes) {
  const UINT codePage = LocaleAnsiCodePage();
  std::wstring wide;
  if (bytes.empty()) return {};
  if (!Decode(codePage, bytes.data(), static_cast<int>(bytes.size()), wide)) {
    // Some bytes have no character there: decode character by character and
    // keep each undecodable byte as the character of its own value.
    wide.clear();
    for (std::size_t at = 0; at < bytes.size();) {
      const int lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[at])) ? 2 : 1;
      if (at + static_cast<std::size_t>(lead) <= bytes.size() &&
          Decode(codePage, bytes.data() + at, lead, wide)) {
        at += static_cast<std::size_t>(lead);
        continue;
      }
      wide += static_cast<wchar_t>(static_cast<unsigned char>(bytes[at]));
      ++at;
    }
  }
  return Utf16ToUtf8(AsU16(wide));
}

}  // namespace corvane
