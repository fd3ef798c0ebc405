// The program's texts are UTF-8 (its code page is UTF-8, see the manifest);
// the system's wide calls take UTF-16. These are the one place the two meet
// for drawing, measuring and ordering text, so every caption, menu item and
// list entry shows any script: the wide drawing calls take part in the
// system's font linking, which draws a character the chosen font lacks from
// a font that has it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace corvane {

std::wstring Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

// DrawTextW on the UTF-8 text; returns the drawn text's height. A request to
// write a shortened text back (DT_MODIFYSTRING) is dropped.
int DrawTextUtf8(HDC dc, std::string_view text, RECT* rect, UINT format);
// GetTextExtentPoint32W on the UTF-8 text.
SIZE TextExtentUtf8(HDC dc, std::string_view text);

// The text of a menu item (by position or by command) as UTF-8, whole
// however long; empty when the item has none.
std::string MenuItemText(HMENU menu, UINT item, bool byPosition);
// A window's text as UTF-16, whole however long, for ANSI and Unicode
// windows alike.
std::wstring WindowTextWide(HWND window);

// Orders two names as the user's locale orders them, ignoring letter case in
// any script: negative, 0 or positive.
int CompareTextForDisplay(std::string_view a, std::string_view b);

}  // namespace corvane
