// The accelerator letter of a caption ("&File" is opened with Alt+F). One
// rule for every menu, label and button; pure C++.
#pragma once

#include <string_view>

namespace corvane {

// The character after a single "&" as a code point (the whole character,
// however many UTF-8 bytes it takes), lower-cased for ASCII letters and
// upper-cased by the system's mapping beyond ASCII, so both letter cases of
// a key match; 0 when the caption has none. "&&" is a plain ampersand, and
// a trailing "&" marks nothing.
char32_t CaptionMnemonic(std::string_view caption);

// The mnemonic a typed character selects, in CaptionMnemonic's form.
char32_t KeyMnemonic(char32_t typed);

}  // namespace corvane
