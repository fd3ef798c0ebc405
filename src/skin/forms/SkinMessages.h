// The skinning engine's private window messages, sent or posted only between
// its own objects. Their values are fixed: skinned windows of other modules
// answer the same numbers.
#pragma once

namespace corvane {

constexpr unsigned WM_SKINREFRESH = 0x3401;
constexpr unsigned WM_SKINNCREDRAW = 0x3502;
// Posted (wParam 0, lParam 1000) right after a form skin was made.
constexpr unsigned WM_SKINSTART = 0x3503;
constexpr unsigned WM_SKINENABLE = 0x3506;
constexpr unsigned WM_SKINBUTTONACTION = 0x3514;
constexpr unsigned WM_SKINBUTTONVISIBLE = 0x3515;
constexpr unsigned WM_SKINMDIREDRAW = 0x3516;
constexpr unsigned WM_SKINRESKINSCROLL = 0x3517;
constexpr unsigned WM_SKINMENUBAR = 0x3518;
// Answered 1 by every skinned window and control, 0 by any other window.
constexpr unsigned WM_SKINQUERY = 0x3523;
// These three share the framework's reflected-message range: they are engine
// requests only when the other parameter is SKIN_MAGIC.
constexpr unsigned WM_SKINPRINTCLIENT = 0xBC4A;
constexpr unsigned WM_SKINPRINTNC = 0xBC4B;
constexpr unsigned WM_SKINPING = 0xBC4D;
constexpr unsigned WM_SKINNOTIFY = 0xBC4E;
constexpr long SKIN_MAGIC = 0x41A2;
// Tag of the skin's own window menu, so the menu painting knows it.
constexpr int kSkinSystemMenuTag = 33333;

}  // namespace corvane
