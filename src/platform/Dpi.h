// The display's DPI and the system's sizes at a DPI. The per-monitor calls
// exist from Windows 10 1607 on; they are looked up at run time, and where
// they are missing everything answers for the system DPI (the program then
// runs as the system scales it, still correct).
#pragma once

#include <windows.h>

#include "platform/Handles.h"

namespace corvane {

// Declares the process aware of each monitor's DPI (version 2), as the
// program's manifest does: for test and benchmark programs, which have no
// such manifest; must come before the first window. False where the system
// lacks the call.
bool DeclarePerMonitorDpiAwareness();

// The DPI of the primary display as the process sees it.
int SystemDpi();

// A window's DPI as the system reports it now. Forms of the framework keep
// their own (the DPI the last WM_DPICHANGED carried); ask them first.
int SystemDpiOfWindow(HWND window);

// The DPI of the monitor that holds the point (the nearest one when none).
int DpiAtPoint(POINT screen);

// GetSystemMetrics for a DPI (scroll-bar widths, icon sizes, menu height).
int SystemMetricForDpi(int index, int dpi);

// Which of the system's non-client fonts.
enum class NonClientFont { Caption, Menu, Message, Status };

// The system's non-client font made for a DPI (its height is the user's
// setting at that DPI, never a fixed pixel height).
UniqueFont MakeNonClientFont(NonClientFont which, int dpi);

}  // namespace corvane
