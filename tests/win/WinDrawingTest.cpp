// The device-context side of skin drawing under Wine: gradients into a
// clipped DC, surfaces blitted with and without the colour key, regions from
// pictures, wide text, the optional user32 calls, and a parent painted under
// a transparent control.
#include "core/Surface.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "framework/Forms.h"
#include "pictures/WinSurface.h"
#include "skin/data/BitmapUtils.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/draw/WinElementDrawing.h"

namespace corvane {
namespace {

constexpr Pixel kUntouched = 0xFF0000EE;

std::string At(int x, int y) {
  return "(" + std::to_string(x) + "," + std::to_string(y) + ")";
}

std::string Hex(Pixel p) {
  char text[16];
  snprintf(text, sizeof text, "%06X", static_cast<unsigned>(p & 0xFFFFFF));
  return text;
}

// Compares the colour of every pixel of got with want(x, y) and names the
// first few that differ (alpha plays no part).
void ExpectPixels(SurfaceView got, const std::function<Pixel(int, int)>& want) {
  GdiFlush();
  int wrong = 0;
  for (int y = 0; y < got.height && wrong < 5; ++y)
    for (int x = 0; x < got.width && wrong < 5; ++x) {
      const Pixel expected = want(x, y);
      if ((got.At(x, y) & 0xFFFFFF) == (expected & 0xFFFFFF)) continue;
      ++wrong;
      ADD_FAILURE() << At(x, y) << " is " << Hex(got.At(x, y)) << ", want " << Hex(expected);
    }
}

// ---------------------------------------------------------------- gradients

struct GradientCase {
  const char* name;
  RECT rect;
  bool vertical;
  Colour colour1, colour2;
  RECT clip;     // logical; all zero: no clip
  POINT origin;  // viewport origin
};

TEST(WinGradientFill, PaintsTheRectsBandsInsideTheClipBoxOnly) {
  constexpr int kW = 64, kH = 48;
  const Colour highlight = static_cast<Colour>(GetSysColor(COLOR_HIGHLIGHT));
  const GradientCase cases[] = {
      {"vertical, whole", {4, 3, 40, 35}, true, Rgb(0, 0, 0), Rgb(255, 255, 255), {}, {}},
      {"horizontal, falling channels",
       {4, 3, 40, 35},
       false,
       Rgb(240, 160, 16),
       Rgb(16, 32, 240),
       {},
       {}},
      {"clip starts inside the rect",
       {4, 3, 40, 35},
       true,
       Rgb(0, 0, 0),
       Rgb(255, 128, 64),
       {0, 10, 64, 20},
       {}},
      {"clip runs past the rect",
       {4, 3, 40, 35},
       false,
       Rgb(9, 99, 199),
       Rgb(200, 0, 50),
       {30, 0, 64, 48},
       {}},
      {"clip before the rect",
       {4, 3, 40, 35},
       false,
       Rgb(0, 0, 0),
       Rgb(255, 255, 255),
       {0, 0, 4, 48},
       {}},
      {"rect beyond the surface", {-10, -5, 20, 60}, true, Rgb(255, 0, 0), Rgb(0, 0, 255), {}, {}},
      {"system colour",
       {0, 0, 30, 20},
       false,
       clSystemColor | COLOR_HIGHLIGHT,
       Rgb(1, 2, 3),
       {},
       {}},
      {"moved origin with clip",
       {0, 0, 30, 30},
       true,
       Rgb(0, 50, 100),
       Rgb(250, 150, 50),
       {0, 5, 30, 12},
       {20, 10}},
      {"zero width", {10, 10, 10, 30}, false, Rgb(0, 0, 0), Rgb(255, 255, 255), {}, {}},
      {"upside down", {10, 30, 20, 10}, true, Rgb(0, 0, 0), Rgb(255, 255, 255), {}, {}},
  };
  for (const GradientCase& c : cases) {
    SCOPED_TRACE(c.name);
    OffscreenSurface surface(kW, kH);
    ASSERT_TRUE(surface.Valid());
    surface.View().Fill(kUntouched);
    HDC dc = surface.Dc();
    SetViewportOrgEx(dc, c.origin.x, c.origin.y, nullptr);
    const bool clipped = c.clip.right > c.clip.left;
    if (clipped) IntersectClipRect(dc, c.clip.left, c.clip.top, c.clip.right, c.clip.bottom);
    GradientFill(dc, c.rect, c.colour1, c.vertical, c.colour2);

    const Colour c1 = c.colour1 < 0 ? highlight : c.colour1;
    const int n = c.vertical ? c.rect.bottom - c.rect.top : c.rect.right - c.rect.left;
    const std::vector<Colour> bands = BuildGradientColours(n, c1, c.colour2);
    Rect painted{c.rect.left, c.rect.top, c.rect.right, c.rect.bottom};
    if (clipped)
      painted = painted.Intersect({c.clip.left, c.clip.top, c.clip.right, c.clip.bottom});
    painted = painted.Offset(c.origin.x, c.origin.y);
    ExpectPixels(surface.View(), [&](int x, int y) {
      if (!painted.Contains({x, y})) return kUntouched;
      const int band = c.vertical ? y - c.origin.y - c.rect.top : x - c.origin.x - c.rect.left;
      return PixelFromColour(bands[static_cast<std::size_t>(band)]);
    });
  }
}

TEST(WinGradientFill, OneBandIsTheMidpoint) {
  OffscreenSurface surface(8, 8);
  ASSERT_TRUE(surface.Valid());
  surface.View().Fill(kUntouched);
  GradientFill(surface.Dc(), RECT{2, 3, 6, 4}, Rgb(10, 20, 30), true, Rgb(20, 40, 61));
  GdiFlush();
  for (int x = 2; x < 6; ++x) EXPECT_EQ(ColourFromPixel(surface.View().At(x, 3)), Rgb(15, 30, 45));
  EXPECT_EQ(surface.View().At(1, 3), kUntouched);
  EXPECT_EQ(surface.View().At(2, 4), kUntouched);
}

// ---------------------------------------------------------------- blits

enum class Via { Blit, Keyed, GdiBitmap };

struct BlitCase {
  const char* name;
  Via via;
  POINT at;
  Rect part;    // of the source picture; a narrower part has a stride wider than its width
  SIZE target;  // GdiBitmap only: the target rectangle's size
};

// Every source pixel is distinct; every third one is the key, and a few are one
// step away from it in a single channel, which must count as ordinary colours.
Pixel SourcePixel(int x, int y) {
  if ((x + 2 * y) % 3 == 0)
    return (x % 2 ? 0x00000000u : 0xFF000000u) | 0xFF00FFu;  // alpha plays no part
  if (x == 1 && y == 1) return 0xFFFE00FF;
  if (x == 2 && y == 2) return 0xFFFF01FF;
  if (x == 4 && y == 1) return 0xFFFF00FE;
  return 0xFF000000u | (Pixel(x + 1) << 16) | (Pixel(y + 1) << 8) | 0x33;
}

Pixel DestinationPixel(int x, int y) {
  return 0xFF000000u | (Pixel(y) << 16) | (Pixel(x) << 8) | 0xC4;
}

TEST(WinBlit, CopiesTheSurfaceAndKeepsTheDestinationUnderKeyPixelsOnly) {
  constexpr int kSrcW = 17, kSrcH = 11, kDst = 40;
  Surface source(kSrcW, kSrcH);
  for (int y = 0; y < kSrcH; ++y)
    for (int x = 0; x < kSrcW; ++x) source.At(x, y) = SourcePixel(x, y);
  const BlitCase cases[] = {
      {"plain copy keeps key pixels", Via::Blit, {3, 4}, {0, 0, kSrcW, kSrcH}, {}},
      {"plain copy of a part", Via::Blit, {30, 33}, {5, 2, 15, 11}, {}},
      {"keyed", Via::Keyed, {3, 4}, {0, 0, kSrcW, kSrcH}, {}},
      {"keyed part, partly off the destination", Via::Keyed, {31, -2}, {2, 1, 16, 10}, {}},
      {"GDI bitmap cut to the target", Via::GdiBitmap, {6, 7}, {0, 0, kSrcW, kSrcH}, {12, 9}},
      {"GDI bitmap smaller than the target",
       Via::GdiBitmap,
       {20, 25},
       {0, 0, kSrcW, kSrcH},
       {30, 30}},
      {"empty target", Via::GdiBitmap, {6, 7}, {0, 0, kSrcW, kSrcH}, {0, 9}},
  };
  for (const BlitCase& c : cases) {
    SCOPED_TRACE(c.name);
    OffscreenSurface dst(kDst, kDst);
    ASSERT_TRUE(dst.Valid());
    for (int y = 0; y < kDst; ++y)
      for (int x = 0; x < kDst; ++x) dst.View().At(x, y) = DestinationPixel(x, y);
    const SurfaceView part = source.View().Sub(c.part);
    Rect drawn = Rect::FromSize(c.at.x, c.at.y, part.width, part.height);
    switch (c.via) {
      case Via::Blit:
        BlitSurface(dst.Dc(), c.at, part);
        break;
      case Via::Keyed:
        BlitSurfaceKeyed(dst.Dc(), c.at, part, kColourKey);
        break;
      case Via::GdiBitmap: {
        UniqueBitmap bitmap = CreateDibSection(part, false);
        ASSERT_TRUE(bitmap);
        const RECT target{c.at.x, c.at.y, c.at.x + c.target.cx, c.at.y + c.target.cy};
        DrawTransparent(dst.Dc(), target, bitmap.Get(), kColourKey);
        drawn = drawn.Intersect({target.left, target.top, target.right, target.bottom});
        break;
      }
    }
    ExpectPixels(dst.View(), [&](int x, int y) {
      if (!drawn.Contains({x, y})) return DestinationPixel(x, y);
      const Pixel src = part.At(x - c.at.x, y - c.at.y);
      return c.via == Via::Blit || !SameColour(src, kColourKey) ? src : DestinationPixel(x, y);
    });
  }
}

TEST(WinRegion, RegionFromSurfaceHoldsTheOpaquePixelsAtTheOffset) {
  Surface picture(6, 4, PixelFromColour(kColourKey));
  picture.At(1, 0) = PixelFromColour(Rgb(0, 0, 0));
  picture.At(2, 0) = PixelFromColour(Rgb(254, 0, 255));  // not the key
  picture.At(4, 2) = PixelFromColour(Rgb(255, 1, 255));  // within the tolerance: transparent
  picture.At(5, 3) = PixelFromColour(Rgb(255, 2, 255));  // beyond it
  for (int x = 0; x < 6; ++x) picture.At(x, 1) = PixelFromColour(Rgb(10, 20, 30));
  UniqueRegion region = RegionFromSurface(picture.View(), 100, 50, kColourKey);
  ASSERT_TRUE(region);
  for (int y = -1; y <= 4; ++y)
    for (int x = -1; x <= 6; ++x) {
      const bool opaque = x >= 0 && x < 6 && y >= 0 && y < 4 &&
                          !(picture.At(x, y) == PixelFromColour(kColourKey) || (x == 4 && y == 2));
      EXPECT_EQ(PtInRegion(region.Get(), 100 + x, 50 + y) != FALSE, opaque) << At(x, y);
    }
  Surface allKey(5, 5, PixelFromColour(kColourKey));
  EXPECT_FALSE(RegionFromSurface(allKey.View(), 0, 0, kColourKey));
}

// ---------------------------------------------------------------- text

TEST(WinText, WideCopyAndAnsiToWide) {
  const wchar_t* hello = L"hello";
  struct Case {
    const wchar_t* text;
    int count;
    std::wstring want;
  } cases[] = {
      {hello, -1, L"hello"}, {hello, 3, L"hel"},    {hello, 0, L""},
      {hello, 5, L"hello"},  {hello, 40, L"hello"},  // stops at the terminator
      {hello, -2, L""},      {nullptr, -1, L""},    {nullptr, 4, L""},
  };
  for (const Case& c : cases) EXPECT_EQ(WideCopy(c.text, c.count), c.want) << "count " << c.count;

  EXPECT_EQ(AnsiToWide(""), L"");
  EXPECT_EQ(AnsiToWide("Corvane 1.3"), L"Corvane 1.3");
  // A character above 127 (the program's code page is UTF-8) goes through the
  // code page and back unchanged, not dropped or cut to seven bits.
  const std::string high = "a\xC3\x89z";
  const std::wstring wide = AnsiToWide(high);
  ASSERT_EQ(wide.size(), 3u);
  char back[8] = {};
  WideCharToMultiByte(CP_ACP, 0, wide.data(), 3, back, sizeof back, nullptr, nullptr);
  EXPECT_EQ(std::string(back), high);
}

// Ink found in a canvas: whether any pixel differs from white inside and
// outside rect.
struct Ink {
  bool inside = false;
  bool outside = false;
};

Ink FindInk(const OffscreenSurface& canvas, const RECT& rect) {
  GdiFlush();
  Ink ink;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      if ((canvas.View().At(x, y) & 0xFFFFFF) == 0xFFFFFF) continue;
      const bool in = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
      (in ? ink.inside : ink.outside) = true;
    }
  return ink;
}

TEST(WinText, DrawTextWideDrawsInsideTheRectAndReturnsTheHeight) {
  OffscreenSurface canvas(220, 80);
  ASSERT_TRUE(canvas.Valid());
  HDC dc = canvas.Dc();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TEXTMETRICW metrics{};
  ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
  const int line = metrics.tmHeight;
  const std::wstring longText = L"Corvane draws this line far wider than its rectangle";
  struct Case {
    const char* name;
    std::wstring text;
    RECT rect;
    UINT format;
    int lines;
  } cases[] = {
      {"one line", L"Corvane Wg", {20, 10, 200, 60}, DT_SINGLELINE | DT_TOP | DT_LEFT, 1},
      {"clipped single line", longText, {30, 20, 90, 40}, DT_SINGLELINE | DT_TOP | DT_LEFT, 1},
      {"ellipsis written back",
       longText,
       {30, 20, 90, 40},
       DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING,
       1},
      {"two lines", L"one\ntwo", {10, 5, 200, 75}, DT_LEFT | DT_TOP, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    canvas.View().Fill(0xFFFFFFFF);
    const std::wstring before = c.text;
    RECT rect = c.rect;
    EXPECT_EQ(DrawTextWide(dc, c.text, rect, c.format), c.lines * line);
    EXPECT_EQ(c.text, before);  // nothing written into the caller's string
    const Ink ink = FindInk(canvas, c.rect);
    EXPECT_TRUE(ink.inside);
    EXPECT_FALSE(ink.outside);
  }

  // Measuring draws nothing and reports the size through the rectangle.
  canvas.View().Fill(0xFFFFFFFF);
  RECT measured{10, 5, 200, 75};
  EXPECT_EQ(DrawTextWide(dc, L"one\ntwo\nthree", measured, DT_CALCRECT), 3 * line);
  EXPECT_EQ(measured.bottom - measured.top, 3 * line);
  EXPECT_FALSE(FindInk(canvas, RECT{}).outside);
}

// ---------------------------------------------------------------- optional user32 calls

LRESULT CALLBACK CountLeaves(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_MOUSELEAVE) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

TEST(WinOptionalCalls, ScrollBarInfoAndMouseLeave) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = CountLeaves;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "CorvaneLeaveCounter";
  RegisterClassA(&wc);
  UniqueWindow window(CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE | WS_VSCROLL,
                                      300, 300, 120, 90, nullptr, nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  int leaves = 0;
  SetWindowLongPtrA(window.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&leaves));
  SCROLLINFO range{sizeof range, SIF_RANGE | SIF_PAGE, 0, 100, 10, 0, 0};
  SetScrollInfo(window.Get(), SB_VERT, &range, TRUE);

  SCROLLBARINFO info{};  // size left zero on purpose: filled in by the call
  ASSERT_TRUE(SafeGetScrollBarInfo(window.Get(), OBJID_VSCROLL, info));
  EXPECT_EQ(info.rcScrollBar.right - info.rcScrollBar.left, GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  SCROLLBARINFO horizontal{};
  ASSERT_TRUE(SafeGetScrollBarInfo(window.Get(), OBJID_HSCROLL, horizontal));
  EXPECT_NE(horizontal.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
  SCROLLBARINFO none{};
  EXPECT_FALSE(SafeGetScrollBarInfo(nullptr, OBJID_VSCROLL, none));

  // The mouse in the window and then out of it: exactly one leave notice.
  SetCursorPos(350, 340);
  test::Pump();
  TrackMouseLeave(window.Get());
  SetCursorPos(10, 10);
  EXPECT_TRUE(test::PumpUntil([&] { return leaves > 0; }, 3000));
  test::PumpUntil([] { return false; }, 200);
  EXPECT_EQ(leaves, 1);
}

// ---------------------------------------------------------------- parent background

// A graphic control in one colour.
class TPatch : public TGraphicControl {
  CORVANE_CLASS(TPatch, TGraphicControl)

 public:
  TPatch(TComponent* owner, COLORREF colour) : TGraphicControl(owner), m_colour(colour) {}

 protected:
  void Paint(HDC dc) override {
    UniqueBrush brush(CreateSolidBrush(m_colour));
    RECT r{0, 0, Width(), Height()};
    FillRect(dc, &r, brush.Get());
  }

 private:
  COLORREF m_colour;
};

// A transparent graphic control: shows its parent through, then marks its
// top-left pixel. Its parent repaints it while painting the background.
class TSeeThrough : public TGraphicControl {
  CORVANE_CLASS(TSeeThrough, TGraphicControl)

 public:
  using TGraphicControl::TGraphicControl;
  int paints = 0;

 protected:
  void Paint(HDC dc) override {
    ++paints;
    DrawParentBackground(*this, dc);
    SetPixel(dc, 0, 0, RGB(0, 255, 0));
  }
};

class WinParentBackground : public ::testing::Test {
 protected:
  void SetUp() override { ResetApplication(); }
  void TearDown() override {
    ResetApplication();
    test::Pump();
  }
};

constexpr COLORREF kFormColour = RGB(51, 102, 204);
constexpr COLORREF kPatchColour = RGB(200, 30, 40);

TEST_F(WinParentBackground, ChildShowsTheParentAtItsPlaceAndTheDcIsRestored) {
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(100, 100, 160, 120);
  form.SetColor(static_cast<Colour>(kFormColour));
  // Under the child's right part, so the offset is visible in the result.
  auto& patch = form.Create<TPatch>(kPatchColour);
  patch.SetParent(&form);
  patch.SetBounds(60, 40, 30, 20);
  auto& child = form.Create<TWinControl>();
  child.SetParent(&form);
  child.SetBounds(30, 25, 50, 40);
  ASSERT_TRUE(child.Handle());

  // A canvas wider than the child: the parent must not paint past its client.
  constexpr int kW = 70, kH = 55;
  OffscreenSurface canvas(kW, kH);
  ASSERT_TRUE(canvas.Valid());
  canvas.View().Fill(kUntouched);
  DrawParentBackground(child, canvas.Dc());
  ExpectPixels(canvas.View(), [](int x, int y) {
    if (x >= 50 || y >= 40) return kUntouched;
    const bool onPatch = x + 30 >= 60 && x + 30 < 90 && y + 25 >= 40 && y + 25 < 60;
    return PixelFromColour(static_cast<Colour>(onPatch ? kPatchColour : kFormColour));
  });
  POINT origin{-1, -1};
  GetViewportOrgEx(canvas.Dc(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  RECT clip{};
  EXPECT_EQ(GetClipBox(canvas.Dc(), &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right - clip.left, kW);
  EXPECT_EQ(clip.bottom - clip.top, kH);

  // Without a parent there is nothing to show.
  TWinControl orphan(nullptr);
  orphan.SetBounds(0, 0, 10, 10);
  canvas.View().Fill(kUntouched);
  DrawParentBackground(orphan, canvas.Dc());
  GdiFlush();
  EXPECT_EQ(canvas.View().At(5, 5), kUntouched);
}

TEST_F(WinParentBackground, GraphicControlDrawingItsParentIsPaintedOnce) {
  TForm& form = Application().CreateForm<TForm>();
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(100, 100, 100, 80);
  form.SetColor(static_cast<Colour>(kFormColour));
  auto& patch = form.Create<TPatch>(kPatchColour);
  patch.SetParent(&form);
  patch.SetBounds(0, 0, 25, 80);
  auto& glass = form.Create<TSeeThrough>();
  glass.SetParent(&form);
  glass.SetBounds(20, 10, 30, 30);
  ASSERT_TRUE(form.Handle());

  test::Canvas canvas(100, 80);
  SendMessageA(form.Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  SendMessageA(form.Handle(), WM_PAINT, reinterpret_cast<WPARAM>(canvas.Dc()), 0);
  // Once by the form, once more inside its own background drawing, not again.
  EXPECT_EQ(glass.paints, 2);
  EXPECT_EQ(canvas.At(20, 10), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(22, 20), kPatchColour);  // the patch shows through
  EXPECT_EQ(canvas.At(30, 20), kFormColour);
  EXPECT_EQ(canvas.At(60, 20), kFormColour);
}

}  // namespace
}  // namespace corvane
