// The two text rules only the system knows: letter case beyond ASCII, and
// the 8-bit code page of the user's locale that older files were written
// in. One implementation per platform (SystemTextWin.cpp, the system's own
// tables; SystemTextPosix.cpp, for the native tests and tools). Texts are
// UTF-8 on both sides. Never include <windows.h> here.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// text with every character mapped to its upper case by the system's
// locale-independent mapping, so two names that differ only in letter case
// (in any script) give the same result on every machine, whatever the
// user's language.
std::string UpperCaseText(std::string_view text);

// bytes read in the 8-bit code page of the user's locale (the code page the
// program spoke before it spoke UTF-8). A byte, or a pair of bytes, that
// code page cannot decode becomes the character U+0080..U+00FF of the same
// byte value, so every byte is kept and none is dropped.
std::string LegacyCodePageToUtf8(std::string_view bytes);

}  // namespace corvane
