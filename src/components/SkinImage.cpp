#include "components/SkinImage.h"

#include <stdexcept>
#include <vector>

#include "core/DpiScale.h"
#include "core/FlagWhile.h"
#include "pictures/OpaqueRuns.h"
#include "pictures/PictureAlpha.h"
#include "pictures/PictureResize.h"
#include "pictures/WinLayeredWindow.h"
#include "pictures/WinRunRegion.h"
#include "pictures/WinSurface.h"

namespace corvane {

namespace {

TForm& RequireForm(TComponent* owner) {
  auto* form = dynamic_cast<TForm*>(owner);
  if (!form) throw std::invalid_argument("TSkinImage must be owned by a form");
  return *form;
}

// A 24-bit top-down DIB section filled white; its pixels stay ours to read.
UniqueBitmap MakeWhiteBitmap(int width, int height) {
  UniqueBitmap bitmap = CreateWhiteDib24(width, height);
  if (!bitmap) throw std::runtime_error("Not enough memory for a " + std::to_string(width) + " x " +
                                        std::to_string(height) + " bitmap");
  return bitmap;
}

// A 24-bit bitmap of the pixels.
UniqueBitmap BitmapFromPixels(const Surface& pixels) {
  UniqueBitmap bitmap = MakeWhiteBitmap(pixels.Width(), pixels.Height());
  BITMAPINFO info = TopDownBitmapInfo(pixels.Width(), pixels.Height(), 32);
  WindowDC screen(nullptr);
  SetDIBits(screen.Get(), bitmap.Get(), 0, static_cast<UINT>(pixels.Height()), pixels.View().pixels, &info,
            DIB_RGB_COLORS);
  return bitmap;
}

// Straight-alpha pixels premultiplied at the size shown at dpi. As the keyed
// way does: an icon comes at the size for the DPI already, a picture file
// is designed at 96 DPI and drawn larger smoothly (in premultiplied space,
// so see-through pixels lend no colour to the soft edge).
Surface ShownPremultiplied(const Surface& straight, PictureKind kind, int dpi) {
  Surface premultiplied = Premultiply(straight.View());
  const Size size{premultiplied.Width(), premultiplied.Height()};
  const Size shown = kind == PictureKind::Icon ? size : ShownSize(size, dpi);
  if (shown == size) return premultiplied;
  return ResizePremultiplied(premultiplied.View(), shown.width, shown.height);
}

}  // namespace

TSkinImage::TSkinImage(TComponent* owner) : TImage(owner), m_owner(RequireForm(owner)) {
  // The picture's changes reshape the owner instead of the base reaction.
  Picture().OnChange = [this] { ApplyPicture(); };
  m_owner.OnShow = [this](TObject* sender) { OwnerShow(sender); };
}

void TSkinImage::OwnerShow(TObject*) {
  if (OnShow) OnShow(this);
}

void TSkinImage::Dispatch(TMessage& m) {
  TImage::Dispatch(m);
  if (m.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
  if (m.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
}

void TSkinImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (m_moveable && button == TMouseButton::mbLeft) {
    m_savedCursor = Screen().Cursor();
    Screen().SetCursor(crHandPoint);
    struct RestoreCursor {
      TCursor cursor;
      ~RestoreCursor() { Screen().SetCursor(cursor); }
    } restore{m_savedCursor};
    ReleaseCapture();
    // A move as if the caption were dragged: the system's move loop runs
    // until the button is released.
    m_owner.Perform(WM_SYSCOMMAND, SC_MOVE | 2, 0);
  }
  TImage::MouseDown(button, shift, x, y);
}

void TSkinImage::ApplyPicture() {
  if (Enabled()) {
    m_owner.SetBorderStyle(TFormBorderStyle::bsNone);
    SetTop(0);
    SetLeft(0);
    // The converted bitmap of the keyed way has no alpha: only the picture
    // as it was given decides between the two ways.
    if (!m_converting) {
      const Surface straight = Picture().AlphaPixels();
      const AlphaCoverage coverage = CoverageOf(straight.View());
      m_nothingVisible = coverage == AlphaCoverage::Invisible;
      m_layered = coverage == AlphaCoverage::Partial ? ShownPremultiplied(straight, Picture().Kind(), m_owner.Dpi())
                                                     : Surface{};
    }
    AdjustSize();
    HWND window = m_owner.Handle();
    if (Layered()) {
      m_owner.SetClientSize(Width(), Height());
      // The shape takes the mouse: the system lets clicks through where
      // alpha is 0 on its own on some systems, but not on all, and the
      // region of the visible pixels gives the same everywhere.
      UniqueRegion region = RegionFromRuns(VisibleRuns(m_layered.View()));
      if (ShowLayered(window, m_layered.View())) {
        if (SetWindowRgn(window, region.Get(), TRUE)) region.Release_();
        if (OnPicChange) OnPicChange(this);
        return;
      }
      // Refused (out of memory): shown keyed instead of not at all.
      m_layered = Surface{};
      AdjustSize();
    }
    EndLayered(window);
    if (!m_converting && !Picture().Empty() &&
        (Picture().Kind() != PictureKind::Bitmap || m_owner.Dpi() != kDesignDpi)) {
      // Assigning the converted bitmap is a change of its own: it runs this
      // handler again, which shapes the owner from the bitmap.
      FlagWhile converting(m_converting);
      Picture().AssignBitmap(ConvertToBitmap(Picture(), m_owner.Dpi()));
    } else {
      if (Picture().Empty()) SetBounds(0, 0, 0, 0);
      m_owner.SetClientSize(Width(), Height());
      UniqueRegion region = Picture().Empty() ? UniqueRegion{} : OpaqueRegion(Picture().Bitmap());
      // The window owns the region from here on.
      if (SetWindowRgn(window, region.Get(), TRUE)) region.Release_();
      Repaint();
    }
  }
  if (OnPicChange) OnPicChange(this);
}

bool TSkinImage::CanAutoSize(int& width, int& height) {
  if (!Layered()) return TImage::CanAutoSize(width, height);
  width = m_layered.Width();
  height = m_layered.Height();
  return true;
}

UniqueBitmap TSkinImage::ConvertToBitmap(const TPicture& picture, int dpi) {
  if (picture.Empty()) return UniqueBitmap{};
  WindowDC screen(nullptr);
  UniqueBitmap bitmap = MakeWhiteBitmap(picture.Width(), picture.Height());
  MemoryDC dc(CreateCompatibleDC(screen.Get()));
  {
    SelectGuard select(dc.Get(), bitmap.Get());
    RECT r{0, 0, picture.Width(), picture.Height()};
    picture.Draw(dc.Get(), r);
  }
  // An icon comes at the size the display needs (its own entry for the
  // DPI); a picture file is designed at 96 DPI and drawn larger smoothly,
  // its see-through colour kept exact so the window's outline stays clean.
  if (picture.Kind() == PictureKind::Icon || dpi == kDesignDpi) return bitmap;
  const Size shown = ShownSize(Size{picture.Width(), picture.Height()}, dpi);
  Surface pixels = SurfaceFromBitmap(bitmap.Get());
  if (pixels.IsEmpty()) return bitmap;
  const Surface resized = ResizeKeyed(pixels.View(), shown.width, shown.height, DefaultTransparentRgb(pixels.View()));
  return BitmapFromPixels(resized);
}

UniqueRegion TSkinImage::OpaqueRegion(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
    return UniqueRegion{};
  Surface pixels = SurfaceFromBitmap(bitmap);
  if (pixels.IsEmpty()) return UniqueRegion{};
  std::uint32_t key = info.bmBitsPixel == 1 ? 0xFFFFFFu : DefaultTransparentRgb(pixels.View());
  return RegionFromRuns(OpaqueRuns(pixels.View(), key));
}

TPropValue TSkinImage::GetProperty(std::string_view name) const {
  if (name == "Moveable") return std::int64_t{m_moveable};
  return TImage::GetProperty(name);
}

bool TSkinImage::SetProperty(std::string_view name, const TPropValue& value) {
  if (name == "Moveable") {
    if (auto i = PropInt(value)) return SetMoveable(*i != 0), true;
    return false;
  }
  return TImage::SetProperty(name, value);
}

}  // namespace corvane
