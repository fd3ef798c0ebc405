// Device-context halves of the bitmap utilities: gradients painted into a DC,
// wide-text helpers, and the optional user32 entry points reached safely.
// Windows only; the pixel work on Surfaces lives in BitmapUtils.h.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

#include <string>

namespace corvane {

// Paints rect with a gradient from colour1 (first row or column) to colour2
// (last), one 1-pixel band per row when vertical, else per column. System
// colours are resolved first; only the bands inside the DC's clip box are
// painted, so a small invalid area of a large frame costs a few bands.
void GradientFill(HDC dc, const RECT& rect, Colour colour1, bool vertical, Colour colour2);

// The framework's text (UTF-8, the program's code page) as UTF-16.
std::wstring AnsiToWide(const std::string& text);

// The first count characters of text, or all of it when count is -1. The copy
// stops at the terminator, so a count longer than the text never reads past
// it; a null text or any other negative count gives an empty string.
std::wstring WideCopy(const wchar_t* text, int count);

// Draws text like DrawText and returns the height of the drawn text. A request
// to write the shortened text back (DT_MODIFYSTRING) is dropped: the string is
// the caller's constant and has no room for the ellipsis.
int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format);

// GetScrollBarInfo when the system has it, else false. info's size field is
// filled in here, so callers need not remember it.
bool SafeGetScrollBarInfo(HWND window, LONG idObject, SCROLLBARINFO& info);

// Asks for one WM_MOUSELEAVE when the mouse leaves window (WM_NCMOUSELEAVE
// when it leaves its non-client area); does nothing when the system lacks
// TrackMouseEvent.
void TrackMouseLeave(HWND window, bool nonClient = false);

}  // namespace corvane
