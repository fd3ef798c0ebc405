// Resource identifiers of the stored skin, shared by skin.rc and the code
// that loads it (FindResource with RT_RCDATA). Each resource holds exactly a
// skin stream: the 4-byte decompressed size, then the coded package.
#pragma once

#define IDR_STOREDSKIN 200

// The same skin with its pictures drawn at 125, 150, 175, 200, 250 and 300 %
// (120 to 288 DPI), so those scales never show resampled pictures.
#define IDR_STOREDSKIN_120 201
#define IDR_STOREDSKIN_144 202
#define IDR_STOREDSKIN_168 203
#define IDR_STOREDSKIN_192 204
#define IDR_STOREDSKIN_240 205
#define IDR_STOREDSKIN_288 206

#ifndef RC_INVOKED
// Each scaled set's resource and the DPI it was drawn for.
struct StoredSkinScale {
  int resource;
  int dpi;
};
inline constexpr StoredSkinScale kStoredSkinScales[] = {
    {IDR_STOREDSKIN_120, 120}, {IDR_STOREDSKIN_144, 144}, {IDR_STOREDSKIN_168, 168},
    {IDR_STOREDSKIN_192, 192}, {IDR_STOREDSKIN_240, 240}, {IDR_STOREDSKIN_288, 288},
};
#endif
