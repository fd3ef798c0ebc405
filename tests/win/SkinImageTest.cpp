// The movable picture control under Wine: the owner form takes the
// picture's size and shape, the left button starts the system move, and a
// disabled control only reports the change.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pictures/WinRunRegion.h"
#include "components/SkinImage.h"
#include "FrameworkTestSupport.h"

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
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  UniqueBitmap colourBitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!maskBitmap || !colourBitmap || !bits) return UniqueIcon{};
  const int rowBytes = (size * 3 + 3) / 4 * 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      auto* p = static_cast<std::uint8_t*>(bits) + static_cast<std::size_t>(y) * rowBytes + x * 3;
      const COLORREF c = shown(x, y) ? colour : RGB(0, 0, 0);
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
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

}  // namespace
}  // namespace corvane
