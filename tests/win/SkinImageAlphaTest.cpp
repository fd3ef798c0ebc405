// The picture control with pictures that carry alpha, under Wine: the owner
// becomes a layered window fed the picture's premultiplied pixels, shaped
// by its visible pixels for the mouse; keyed pictures keep their region,
// and the window switches between the two ways in place.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "FrameworkTestSupport.h"
#include "PngWriter.h"
#include "components/SkinImage.h"
#include "pictures/OpaqueRuns.h"
#include "pictures/PictureAlpha.h"

namespace corvane {
namespace {

using test::Pump;
using test::WindowRegion;

constexpr int kSize = 40;
constexpr Pixel kBody = 0xFF2050C0u;

// 40 x 40: a fully transparent top-left corner, a pure white square in the
// middle, a soft white rim at alpha 128 along the right and bottom edges.
Pixel Badge(int x, int y) {
  if (x + y < 10) return 0x00000000u;
  if (x >= 12 && x < 24 && y >= 12 && y < 24) return 0xFFFFFFFFu;
  if (x == kSize - 1 || y == kSize - 1) return 0x80FFFFFFu;
  return kBody;
}

// A plain window of one colour, the desktop's stand-in behind the picture.
class Backdrop {
 public:
  Backdrop(COLORREF colour, const RECT& r) : m_brush(CreateSolidBrush(colour)) {
    static const ATOM atom = [] {
      WNDCLASSA wc{};
      wc.lpfnWndProc = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_ERASEBKGND) return DefWindowProcA(w, m, wp, lp);
        RECT client{};
        GetClientRect(w, &client);
        FillRect(reinterpret_cast<HDC>(wp), &client, reinterpret_cast<HBRUSH>(GetWindowLongPtrA(w, GWLP_USERDATA)));
        return 1;
      };
      wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
      wc.lpszClassName = "CorvaneTestBackdrop";
      return RegisterClassA(&wc);
    }();
    m_window = CreateWindowExA(WS_EX_NOACTIVATE, MAKEINTATOM(atom), "backdrop", WS_POPUP, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(m_brush.Get()));
    SetWindowPos(m_window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(m_window);
  }
  ~Backdrop() { DestroyWindow(m_window); }
  HWND Handle() const { return m_window; }

 private:
  UniqueBrush m_brush;
  HWND m_window = nullptr;
};

// What the screen shows at a point, once everything drawn has reached it.
COLORREF ScreenAt(int x, int y) {
  GdiFlush();
  for (int i = 0; i < 3; ++i) {
    Pump();
    Sleep(15);
  }
  WindowDC screen(nullptr);
  return GetPixel(screen.Get(), x, y) & 0xFFFFFF;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 40-byte info header and 32-bit bottom-up pixels (0xAARRGGBB); icons
// count the mask in the height and append it (all shown: alpha decides).
std::vector<std::uint8_t> Dib32(int w, int h, const std::function<Pixel(int, int)>& pixel, bool icon) {
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(w));
  Put32(out, static_cast<std::uint32_t>(icon ? 2 * h : h));
  Put32(out, 1, 2);
  Put32(out, 32, 2);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) Put32(out, pixel(x, y));
  if (icon) out.resize(out.size() + static_cast<std::size_t>((w + 31) / 32 * 4) * h, 0);
  return out;
}

bool WriteBmp32(const std::string& path, int w, int h, const std::function<Pixel(int, int)>& pixel) {
  const std::vector<std::uint8_t> dib = Dib32(w, h, pixel, false);
  std::vector<std::uint8_t> file{'B', 'M'};
  Put32(file, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(file, 0);
  Put32(file, 14 + 40);
  file.insert(file.end(), dib.begin(), dib.end());
  return WriteFile(path, file);
}

bool WriteIco32(const std::string& path, int w, int h, const std::function<Pixel(int, int)>& pixel) {
  const std::vector<std::uint8_t> dib = Dib32(w, h, pixel, true);
  std::vector<std::uint8_t> file;
  Put32(file, 0, 2);
  Put32(file, 1, 2);
  Put32(file, 1, 2);
  file.push_back(static_cast<std::uint8_t>(w));
  file.push_back(static_cast<std::uint8_t>(h));
  Put32(file, 0, 2);
  Put32(file, 1, 2);
  Put32(file, 32, 2);
  Put32(file, static_cast<std::uint32_t>(dib.size()));
  Put32(file, 6 + 16);
  file.insert(file.end(), dib.begin(), dib.end());
  return WriteFile(path, file);
}

class SkinImageAlpha : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetApplication();
    Application().OnException = [this](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    form = &Application().CreateForm<TForm>();
    form->SetBounds(300, 300, 200, 150);
    image = &form->Create<TSkinImage>();
    image->SetParent(form);
    image->SetAutoSize(true);
    image->Transparent = true;
  }
  void TearDown() override {
    ResetApplication();
    Pump();
  }
  std::string Png(const std::string& name, int w, int h, const std::function<Pixel(int, int)>& pixel) {
    std::string path = folder.File(name);
    EXPECT_TRUE(test::WritePng(path, w, h, pixel));
    return path;
  }
  // Shows the form above a backdrop of the colour covering its place.
  void ShowOver(std::unique_ptr<Backdrop>& backdrop, COLORREF colour) {
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    backdrop.reset();
    backdrop = std::make_unique<Backdrop>(colour, RECT{r.left - 20, r.top - 20, r.right + 20, r.bottom + 20});
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Pump();
  }
  POINT OnScreen(int x, int y) {
    POINT p{x, y};
    ClientToScreen(form->Handle(), &p);
    return p;
  }
  Size ClientSize() {
    RECT r{};
    GetClientRect(form->Handle(), &r);
    return {r.right, r.bottom};
  }
  // The window's region holds exactly the visible pixels of what it shows.
  void ExpectRegionIsTheVisiblePixels() {
    const Surface& shown = image->Shown();
    UniqueRegion region = WindowRegion(form->Handle());
    ASSERT_TRUE(region);
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x)
        ASSERT_EQ(PtInRegion(region.Get(), x, y) != 0, IsVisible(shown.At(x, y))) << x << "," << y;
  }

  test::TempFolder folder;
  TForm* form = nullptr;
  TSkinImage* image = nullptr;
  std::vector<std::string> errors;
};

TEST_F(SkinImageAlpha, APngWithAlphaIsShownWithItsOwnTransparencyAndWhiteStaysWhite) {
  image->Picture().LoadFromFile(Png("badge.png", kSize, kSize, Badge));
  ASSERT_TRUE(errors.empty()) << errors[0];
  HWND w = form->Handle();
  ASSERT_TRUE(image->Layered());
  EXPECT_TRUE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(ClientSize(), (Size{kSize, kSize}));
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
  // Handed to the system premultiplied, never flattened onto white.
  const Surface& shown = image->Shown();
  ASSERT_EQ(shown.Width(), kSize);
  EXPECT_EQ(shown.At(0, 0), 0u);
  EXPECT_EQ(shown.At(15, 15), 0xFFFFFFFFu);
  EXPECT_EQ(shown.At(30, 30), kBody);
  EXPECT_EQ(shown.At(kSize - 1, 20), 0x80808080u);
  ExpectRegionIsTheVisiblePixels();

  // Over a dark and over a light window: the white square is white, the
  // transparent corner shows what lies behind, the body its colour. (The
  // soft rim blends on Windows; Wine's display shows its premultiplied
  // colour as if over black, so it is checked in the pixels above.)
  std::unique_ptr<Backdrop> backdrop;
  for (COLORREF behind : {RGB(16, 16, 24), RGB(250, 250, 240)}) {
    ShowOver(backdrop, behind);
    const POINT corner = OnScreen(1, 1), square = OnScreen(15, 15), body = OnScreen(30, 30);
    EXPECT_EQ(ScreenAt(square.x, square.y), RGB(255, 255, 255));
    EXPECT_EQ(ScreenAt(corner.x, corner.y), behind);
    EXPECT_EQ(ScreenAt(body.x, body.y), RGB(0x20, 0x50, 0xC0));
    // The corner lets the mouse through to the window below; the square
    // and the centre take it.
    EXPECT_EQ(WindowFromPoint(corner), backdrop->Handle());
    EXPECT_EQ(WindowFromPoint(square), w);
    EXPECT_EQ(WindowFromPoint(OnScreen(kSize / 2, kSize / 2)), w);
  }
}

TEST_F(SkinImageAlpha, RealClicksReachTheVisiblePixelsAndPassTheTransparentOnes) {
  image->Picture().LoadFromFile(Png("badge.png", kSize, kSize, Badge));
  std::unique_ptr<Backdrop> backdrop;
  ShowOver(backdrop, RGB(40, 40, 40));
  // On top of everything, as the launcher is: a click on the backdrop must
  // not bring it over the picture.
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  std::vector<POINT> downs;
  image->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  test::ClickAt(OnScreen(15, 15));       // the white square
  test::ClickAt(OnScreen(2, 2));         // the transparent corner
  test::ClickAt(OnScreen(kSize - 1, 5));  // the soft rim: visible, so it takes the click
  ASSERT_EQ(downs.size(), 2u) << downs.size() << (downs.empty() ? 0 : downs[0].x);
  EXPECT_EQ(downs[0].x, 15);
  EXPECT_EQ(downs[0].y, 15);
  EXPECT_EQ(downs[1].x, kSize - 1);
}

TEST_F(SkinImageAlpha, SwitchingBetweenAlphaAndKeyedPicturesKeepsTheWindowAndItsPlace) {
  const std::string badge = Png("badge.png", kSize, kSize, Badge);
  // A keyed picture: red on white, white pixels (the bottom-left colour) cut.
  const std::string keyed = folder.File("keyed.bmp");
  auto keyedColour = [](int x, int y) { return x >= 4 && x < 20 && y >= 2 && y < 10 ? RGB(200, 30, 40) : RGB(255, 255, 255); };
  ASSERT_TRUE(test::WriteBmp(keyed, 24, 12, keyedColour));
  image->Picture().LoadFromFile(badge);
  std::unique_ptr<Backdrop> backdrop;
  ShowOver(backdrop, RGB(0, 90, 0));
  HWND w = form->Handle();
  RECT start{};
  GetWindowRect(w, &start);

  image->Picture().LoadFromFile(keyed);
  EXPECT_EQ(form->Handle(), w);
  EXPECT_FALSE(image->Layered());
  EXPECT_FALSE(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_TRUE(IsWindowVisible(w));
  RECT now{};
  GetWindowRect(w, &now);
  EXPECT_EQ(now.left, start.left);
  EXPECT_EQ(now.top, start.top);
  EXPECT_EQ(ClientSize(), (Size{24, 12}));
  // Today's region and pixels: the red block exactly, painted red.
  UniqueRegion expected(CreateRectRgn(4, 2, 20, 10));
  UniqueRegion region = WindowRegion(w);
  ASSERT_TRUE(region);
  EXPECT_TRUE(EqualRgn(region.Get(), expected.Get()));
  POINT red = OnScreen(10, 5);
  EXPECT_EQ(ScreenAt(red.x, red.y), RGB(200, 30, 40));
  POINT cut = OnScreen(1, 1);
  EXPECT_EQ(ScreenAt(cut.x, cut.y), RGB(0, 90, 0));

  image->Picture().LoadFromFile(badge);
  EXPECT_EQ(form->Handle(), w);
  EXPECT_TRUE(image->Layered());
  GetWindowRect(w, &now);
  EXPECT_EQ(now.left, start.left);
  EXPECT_EQ(now.top, start.top);
  EXPECT_EQ(ClientSize(), (Size{kSize, kSize}));
  ExpectRegionIsTheVisiblePixels();
  POINT square = OnScreen(15, 15);
  EXPECT_EQ(ScreenAt(square.x, square.y), RGB(255, 255, 255));
  EXPECT_TRUE(errors.empty());
}

TEST_F(SkinImageAlpha, EachPictureKindWithAlphaIsLayeredAndEveryOtherKeyed) {
  const struct {
    const char* name;
    std::function<bool(const std::string&)> write;
    bool layered, nothingVisible;
    Size size;
  } cases[] = {
      {"soft.png", [](const std::string& p) { return test::WritePng(p, kSize, kSize, Badge); }, true, false, {kSize, kSize}},
      {"alpha.bmp", [](const std::string& p) { return WriteBmp32(p, kSize, kSize, Badge); }, true, false, {kSize, kSize}},
      {"alpha.ico", [](const std::string& p) { return WriteIco32(p, 32, 32, Badge); }, true, false, {32, 32}},
      {"one.png", [](const std::string& p) { return test::WritePng(p, 1, 1, [](int, int) { return 0x80FFFFFFu; }); },
       true, false, {1, 1}},
      // Nothing visible: keyed (here a white rectangle), never an invisible window.
      {"clear.png", [](const std::string& p) { return test::WritePng(p, 9, 7, [](int, int) { return 0x00FFFFFFu; }); },
       false, true, {9, 7}},
      // A 32-bit bitmap whose fourth byte is unused is an opaque bitmap.
      {"unused.bmp", [](const std::string& p) { return WriteBmp32(p, 9, 7, [](int, int) { return 0x00FF0000u; }); },
       false, false, {9, 7}},
      // Alpha 255 everywhere: an opaque picture, keyed on its bottom-left colour as ever.
      {"opaque.png",
       [](const std::string& p) { return test::WritePng(p, 9, 7, [](int x, int) { return x < 3 ? 0xFFFFFFFFu : kBody; }); },
       false, false, {9, 7}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.File(c.name);
    ASSERT_TRUE(c.write(path));
    image->Picture().LoadFromFile(path);
    ASSERT_TRUE(errors.empty()) << errors[0];
    EXPECT_EQ(image->Layered(), c.layered);
    EXPECT_EQ((GetWindowLongA(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, c.layered);
    EXPECT_EQ(image->NothingVisible(), c.nothingVisible);
    EXPECT_EQ(ClientSize(), c.size);
    if (c.layered) {
      EXPECT_EQ(image->Shown().Width(), c.size.width);
      ExpectRegionIsTheVisiblePixels();
    }
  }
  // The opaque PNG (the last) behaves as any opaque picture: its white
  // columns are cut.
  UniqueRegion region = WindowRegion(form->Handle());
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.Get(), 1, 1));
}

TEST_F(SkinImageAlpha, AtAHigherDpiThePictureIsScaledSmoothlyInPremultipliedSpace) {
  form->Handle();
  RECT suggested{};
  GetWindowRect(form->Handle(), &suggested);
  SendMessageA(form->Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  ASSERT_EQ(form->Dpi(), 192);
  image->Picture().LoadFromFile(Png("badge.png", kSize, kSize, Badge));
  ASSERT_TRUE(image->Layered());
  const Surface& shown = image->Shown();
  ASSERT_EQ(shown.Width(), 2 * kSize);
  ASSERT_EQ(shown.Height(), 2 * kSize);
  EXPECT_EQ(ClientSize(), (Size{2 * kSize, 2 * kSize}));
  // Inside the white square white, the rim still white when divided by its
  // alpha (no dark fringe), and soft steps where the corner meets the body.
  EXPECT_EQ(shown.At(35, 35), 0xFFFFFFFFu);
  const Pixel rim = shown.At(2 * kSize - 1, 40);
  EXPECT_EQ(rim >> 24, (rim >> 16) & 0xFF);
  EXPECT_EQ(rim >> 24, rim & 0xFF);
  int soft = 0;
  for (int x = 0; x < 2 * kSize; ++x) soft += (shown.At(x, 8) >> 24) > 0 && (shown.At(x, 8) >> 24) < 0xFF;
  EXPECT_GT(soft, 0);
  ExpectRegionIsTheVisiblePixels();
}

}  // namespace
}  // namespace corvane
