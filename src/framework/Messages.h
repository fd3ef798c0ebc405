// Messages as the framework passes them through a control's handler chain,
// and the framework's own message numbers. The skin engine relies on these
// exact values, so they never change.
#pragma once

#include "core/Geometry.h"

#include <windows.h>

namespace corvane {

// One message travelling by reference through WindowProc -> WndProc ->
// Dispatch -> DefaultHandler; a handler answers by setting Result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Framework notifications between controls (never seen by the system).
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
// Sent through a control's handler chain once its window was made again
// (RecreateWnd): whoever kept the old window handle takes the new one.
constexpr UINT CM_RECREATEWND = CM_BASE + 51;

// Notifications a parent reflects to the child they concern, so a control
// handles its own commands, notifications, owner drawing and colours.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
constexpr UINT CN_MEASUREITEM = CN_BASE + WM_MEASUREITEM;
constexpr UINT CN_CTLCOLORMSGBOX = CN_BASE + WM_CTLCOLORMSGBOX;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;

constexpr bool IsReflectedColourMessage(UINT msg) {
  return msg >= CN_CTLCOLORMSGBOX && msg <= CN_CTLCOLORSTATIC;
}

}  // namespace corvane
