// Comma text: the list format of a menu link's "RunWith" value. Portable
// core: never include <windows.h> here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Joins names with "," and no blanks. A name holding a character with code
// 0..32, a double quote or a comma is enclosed in double quotes with inner
// quotes doubled; a list of one empty name becomes a pair of quotes.
std::string JoinCommaText(const std::vector<std::string>& names);

// Splits comma text back into names. Files written by earlier versions hold
// the same format, so this reader accepts every text the joiner produces and
// anything hand-edited: blanks between names separate them, a doubled quote
// inside a quoted name stands for one quote, an unterminated quoted name
// runs to the end, and the text ends at a NUL byte as it would in a
// zero-terminated buffer.
std::vector<std::string> SplitCommaText(std::string_view text);

// The form in which a list is stored as a profile value. Reading a value
// drops one pair of matching quotes that enclose all of it, which would turn
// the stored list "My Notes" into the two names My and Notes. When the
// joined text begins and ends with the same quote character, it is stored
// inside one more pair of double quotes, which the reader drops again, so
// SplitCommaText(value as read) gives back exactly the names written. Older
// files never hold this extra pair and read as they always did.
std::string CommaTextForStore(const std::vector<std::string>& names);

}  // namespace corvane
