// Native stand-ins for the system's text tables: the C library's Unicode
// case mapping, and Windows-1252 as the code page of a Western locale.
#include <locale.h>
#include <wctype.h>

#include "core/SystemText.h"
#include "core/Utf8.h"

namespace corvane {

namespace {

locale_t UnicodeLocale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

// Windows-1252's 0x80..0x9F; 0 marks the five bytes it leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

std::string UpperCaseText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const locale_t locale = UnicodeLocale();
  for (std::size_t at = 0; at < text.size();) {
    char32_t c = NextCodePoint(text, at);
    if (c < 0x80) {
      if (c >= 'a' && c <= 'z') c -= 'a' - 'A';
    } else if (locale) {
      c = static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string LegacyCodePageToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto byte = static_cast<unsigned char>(b);
    char32_t c = byte;
    if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80]) c = kHighControls[byte - 0x80];
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace corvane
