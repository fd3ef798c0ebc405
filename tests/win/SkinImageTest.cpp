// The movable picture control under Wine: the owner form takes the
// picture's size and shape (its own transparency for a picture with alpha),
// the left button starts the system move, and a disabled control only
// reports the change.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/WinRunRegion.h"
#include "pictures/WinSurface.h"
#include "components/SkinImage.h"
#include "FrameworkTestSupport.h"
#include "PngWriter.h"
#include "pictures/OpaqueRuns.h"
#include "pictures/PictureAlpha.h"

namespace corvane {
namespace {

using test::Pump;
using test::WindowRegion;

constexpr COLORREF kKey = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(200, 30, 40);

// 12 x 8: a ring of ink with a hole, on white; the bottom-left pixel is white.
COLORREF Ring(int x, int y) {
  bool edge = x >= 2 && x < 10 && y >= 1 && y < 7;
  bool hole = x >= 4 && x < 8 && y >= 3 && y < 5;
  return edge && !hole ? kInk : kKey;
}

// A size x size icon without alpha: one colour where shown(x, y), the rest
// cut out by its mask, as icons were before they had alpha.
UniqueIcon MaskIcon(int size, const std::function<bool(int, int)>& shown, COLORREF colour) {
  const int stride = (size + 15) / 16 * 2;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(stride) * size, 0);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (!shown(x, y)) mask[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
  UniqueBitmap maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
  // Alpha 0 throughout: the colour bitmap has no alpha of its own.
  Surface colourPixels(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) colourPixels.At(x, y) = shown(x, y) ? PixelFromColour(colour, 0) : 0;
  UniqueBitmap colourBitmap = CreateDibSection(colourPixels.View(), false);
  if (!maskBitmap || !colourBitmap) return UniqueIcon{};
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmMask = maskBitmap.Get();
  icon.hbmColor = colourBitmap.Get();
  return UniqueIcon(CreateIconIndirect(&icon));
}

class SkinImageTest : public ::testing::Test {
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
    image->SetMoveable(true);
    image->OnPicChange = [this](TObject* s) { changes += s == image; };
  }
  void TearDown() override {
    ResetApplication();
    Pump();
  }
  std::string Bmp(const std::string& name, int w, int h, const std::function<COLORREF(int, int)>& colour) {
    std::string path = folder.File(name);
    EXPECT_TRUE(test::WriteBmp(path, w, h, colour));
    return path;
  }
  RECT Client() {
    RECT r{};
    GetClientRect(form->Handle(), &r);
    return r;
  }
  test::TempFolder folder;
  TForm* form = nullptr;
  TSkinImage* image = nullptr;
  int changes = 0;
  std::vector<std::string> errors;
};

TEST_F(SkinImageTest, BitmapShapesTheOwnerToItsOpaquePixels) {
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  HWND w = form->Handle();
  EXPECT_FALSE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(form->BorderStyle(), TFormBorderStyle::bsNone);
  RECT client = Client();
  EXPECT_EQ(client.right, 12);
  EXPECT_EQ(client.bottom, 8);
  EXPECT_EQ(image->Left(), 0);
  EXPECT_EQ(image->Width(), 12);

  // The ring: rows 1-2 and 5-6 whole, rows 3-4 with the hole cut out.
  UniqueRegion expected(CreateRectRgn(2, 1, 10, 3));
  UniqueRegion part(CreateRectRgn(2, 3, 4, 5));
  CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
  part.Reset(CreateRectRgn(8, 3, 10, 5));
  CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
  part.Reset(CreateRectRgn(2, 5, 10, 7));
  CombineRgn(expected.Get(), expected.Get(), part.Get(), RGN_OR);
  UniqueRegion actual = WindowRegion(w);
  ASSERT_TRUE(actual);
  EXPECT_TRUE(EqualRgn(actual.Get(), expected.Get()));
  EXPECT_EQ(changes, 1);
}

TEST_F(SkinImageTest, KeyIsTheBottomLeftColourWhateverItIs) {
  // Green background, white dot: now green is the see-through colour and
  // the white pixel is opaque.
  image->Picture().LoadFromFile(Bmp("green.bmp", 5, 4, [](int x, int y) {
    return x == 2 && y == 1 ? RGB(255, 255, 255) : RGB(0, 255, 0);
  }));
  UniqueRegion expected(CreateRectRgn(2, 1, 3, 2));
  UniqueRegion actual = WindowRegion(form->Handle());
  ASSERT_TRUE(actual);
  EXPECT_TRUE(EqualRgn(actual.Get(), expected.Get()));
}

TEST_F(SkinImageTest, NoKeyPixelsMeansTheWholeRectangleAndAllKeyMeansNoRegion) {
  image->Picture().LoadFromFile(Bmp("full.bmp", 6, 5, [](int x, int) { return x % 2 ? RGB(1, 2, 3) : RGB(4, 5, 6); }));
  // The bottom-left colour also occurs elsewhere: those columns go.
  UniqueRegion actual = WindowRegion(form->Handle());
  ASSERT_TRUE(actual);
  EXPECT_FALSE(PtInRegion(actual.Get(), 0, 0));
  EXPECT_TRUE(PtInRegion(actual.Get(), 1, 4));

  image->Picture().LoadFromFile(Bmp("clear.bmp", 7, 3, [](int, int) { return RGB(9, 9, 9); }));
  EXPECT_FALSE(WindowRegion(form->Handle()));
  RECT client = Client();
  EXPECT_EQ(client.right, 7);
  EXPECT_EQ(client.bottom, 3);
}

TEST_F(SkinImageTest, AnIconBecomesABitmapDrawnOverWhite) {
  // An icon without alpha, shaped by its mask (an icon with alpha shows its
  // own transparency instead: SkinImageAlphaTest).
  UniqueIcon icon = MaskIcon(16, [](int x, int y) { return x >= 3 && x < 13 && y >= 2 && y < 14; },
                                   RGB(30, 90, 200));
  ASSERT_TRUE(icon);
  image->Picture().AssignIcon(icon.Get());
  EXPECT_EQ(image->Picture().Kind(), PictureKind::Bitmap);
  EXPECT_NE(image->Picture().Bitmap(), nullptr);
  RECT client = Client();
  EXPECT_EQ(client.right, image->Picture().Width());
  EXPECT_EQ(client.bottom, image->Picture().Height());
  EXPECT_GE(changes, 1);
  // The converted bitmap's white pixels are the ones outside the region.
  HBITMAP bitmap = image->Picture().Bitmap();
  MemoryDC dc(CreateCompatibleDC(nullptr));
  SelectGuard select(dc.Get(), bitmap);
  UniqueRegion region = WindowRegion(form->Handle());
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) {
      bool white = (GetPixel(dc.Get(), x, y) & 0xFFFFFF) == 0xFFFFFF;
      bool inside = region && PtInRegion(region.Get(), x, y);
      ASSERT_EQ(inside, !white) << x << "," << y;
    }
}

TEST_F(SkinImageTest, DisabledControlOnlyReportsTheChange) {
  HWND w = form->Handle();
  image->SetEnabled(false);
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_CAPTION);
  EXPECT_FALSE(WindowRegion(w));
  EXPECT_NE(Client().right, 12);
}

TEST_F(SkinImageTest, AFailedLoadKeepsTheShape) {
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  std::string broken = folder.File("broken.bmp");
  HANDLE h = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n = 0;
  WriteFile(h, "BM\x10\x00", 4, &n, nullptr);
  CloseHandle(h);
  EXPECT_ANY_THROW(image->Picture().LoadFromFile(broken));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Client().right, 12);
  EXPECT_TRUE(WindowRegion(form->Handle()));
}

TEST_F(SkinImageTest, LeftPressStartsTheSystemMoveWithTheHandCursor) {
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  // Stand in for the system's move loop: take the form's handler over.
  std::vector<TCursor> cursorsDuringMove;
  auto old = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == 0xF012 && m.LParam == 0) {
      cursorsDuringMove.push_back(Screen().Cursor());
      return;
    }
    old(m);
  };
  int downs = 0;
  image->OnMouseDown = [&](TObject* s, TMouseButton, TShiftState, int x, int y) {
    downs += s == image && x == 3 && y == 2;
  };
  HWND w = form->Handle();
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 2));
  ASSERT_EQ(cursorsDuringMove, std::vector<TCursor>{crHandPoint});
  EXPECT_EQ(Screen().Cursor(), crDefault);
  EXPECT_EQ(downs, 1);  // the base handling still runs

  SendMessageA(w, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 2));
  SendMessageA(w, WM_RBUTTONUP, 0, MAKELPARAM(3, 2));
  image->SetMoveable(false);
  SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 2));
  SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(3, 2));
  EXPECT_EQ(cursorsDuringMove.size(), 1u);
  EXPECT_EQ(downs, 3);  // the right press and the unmovable press: events only
  form->WindowProc = old;
}

TEST_F(SkinImageTest, DoubleClickIsReportedBeforeTheNextMove) {
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  std::vector<std::string> order;
  auto old = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_SYSCOMMAND && m.WParam == 0xF012) {
      order.push_back("move");
      return;
    }
    old(m);
  };
  image->OnDblClick = [&](TObject*) { order.push_back("double"); };
  SendMessageA(form->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 2));
  EXPECT_EQ(order, (std::vector<std::string>{"double", "move"}));
  form->WindowProc = old;
}

TEST_F(SkinImageTest, EnterLeaveAndShowEventsNameTheControl) {
  image->Picture().LoadFromFile(Bmp("ring.bmp", 12, 8, Ring));
  std::vector<std::string> events;
  image->OnMouseEnter = [&](TObject* s) { events.push_back(s == image ? "enter" : "?"); };
  image->OnMouseLeave = [&](TObject* s) { events.push_back(s == image ? "leave" : "?"); };
  image->OnShow = [&](TObject* s) { events.push_back(s == image ? "show" : "?"); };
  SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 2));
  SendMessageA(form->Handle(), WM_MOUSELEAVE, 0, 0);
  form->Show();
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"enter", "leave", "show"}));
}

TEST_F(SkinImageTest, OwnerMustBeAForm) {
  TComponent plain(nullptr);
  EXPECT_THROW(plain.Create<TSkinImage>(), std::invalid_argument);
}

TEST(RunRegion, BalancedUnionEqualsOneUnionPerRun) {
  std::vector<Rect> runs;
  for (int y = 0; y < 40; ++y)
    for (int x = (y * 7) % 5; x < 90; x += 6) runs.push_back({x, y, x + 2 + (y % 3), y + 1});
  UniqueRegion tree = RegionFromRuns(runs);
  UniqueRegion naive(CreateRectRgn(0, 0, 0, 0));
  for (const Rect& r : runs) {
    UniqueRegion one(CreateRectRgn(r.left, r.top, r.right, r.bottom));
    CombineRgn(naive.Get(), naive.Get(), one.Get(), RGN_OR);
  }
  ASSERT_TRUE(tree);
  EXPECT_TRUE(EqualRgn(tree.Get(), naive.Get()));
  EXPECT_FALSE(RegionFromRuns({}));
}

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

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
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
  return WriteBytes(path, file);
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
  return WriteBytes(path, file);
}

// Pictures with alpha: the owner becomes a layered window fed the
// picture's premultiplied pixels, shaped by its visible pixels for the
// mouse; keyed pictures keep their region, and the window switches between
// the two ways in place. Not movable, so real clicks start no move loop.
class SkinImageAlpha : public SkinImageTest {
 protected:
  void SetUp() override {
    SkinImageTest::SetUp();
    image->SetMoveable(false);
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
