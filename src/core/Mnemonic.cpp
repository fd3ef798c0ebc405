#include "core/Mnemonic.h"

#include <string>

#include "core/SystemText.h"
#include "core/Utf8.h"

namespace corvane {

char32_t KeyMnemonic(char32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
  std::string one;
  AppendUtf8(one, c);
  const std::string upper = UpperCaseText(one);
  std::size_t at = 0;
  return upper.empty() ? c : NextCodePoint(upper, at);
}

char32_t CaptionMnemonic(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    std::size_t at = i + 1;
    return KeyMnemonic(NextCodePoint(caption, at));
  }
  return 0;
}

}  // namespace corvane
