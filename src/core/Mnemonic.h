// The accelerator letter of a caption ("&File" is opened with Alt+F). One
// rule for every menu, label and button; pure C++.
#pragma once

#include <string_view>

namespace corvane {

// The character after a single "&", lower-cased for ASCII letters; 0 when the
// caption has none. "&&" is a plain ampersand, and a trailing "&" marks
// nothing.
constexpr char CaptionMnemonic(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    char c = caption[i + 1];
    if (c == '&') {
      ++i;
      continue;
    }
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return 0;
}

}  // namespace corvane
