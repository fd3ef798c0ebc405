// UTF-8, the encoding of every text the program keeps: checking it, stepping
// over whole characters, cutting without splitting one, and converting to and
// from UTF-16 (the system's wide strings). Pure C++; no Windows headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Length in bytes of the well-formed character starting at bytes[at], or 0
// when none starts there.
std::size_t Utf8CharLength(std::string_view bytes, std::size_t at);

// The character at bytes[at], advancing at past it. A byte that starts no
// well-formed character is taken alone as the character U+0080..U+00FF of
// the same value, so nothing is skipped or lost.
char32_t NextCodePoint(std::string_view bytes, std::size_t& at);

// Appends the UTF-8 form of one character.
void AppendUtf8(std::string& out, char32_t codePoint);

// The longest prefix of at most maxBytes bytes that ends on a character
// boundary, so a cut never leaves half a character behind.
std::string_view CutToBytes(std::string_view text, std::size_t maxBytes);
// The first maxChars characters (code points) of text.
std::string_view CutToCharacters(std::string_view text, std::size_t maxChars);

// UTF-8 to UTF-16 and back. Bytes that are not UTF-8 become U+0080..U+00FF
// (as NextCodePoint reads them); an unpaired surrogate becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Latin-1 reading: every byte is the character of the same value.
std::string Latin1ToUtf8(std::string_view bytes);

}  // namespace corvane
