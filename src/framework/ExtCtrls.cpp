#include "framework/ExtCtrls.h"

#include <algorithm>

namespace corvane {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  m_width = 105;
  m_height = 105;
  m_picture.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
  if (AutoSize()) AdjustSize();
  Invalidate();
}

bool TImage::CanAutoSize(int& width, int& height) {
  if (m_picture.Empty()) return false;
  width = m_picture.Width();
  height = m_picture.Height();
  return true;
}

RECT TImage::DestRect() const {
  int pw = m_picture.Width(), ph = m_picture.Height();
  int cw = Width(), ch = Height();
  if (Stretch || (Proportional && (pw > cw || ph > ch))) {
    if (Proportional && pw > 0 && ph > 0) {
      // Fit inside, keeping the aspect: the tighter side decides.
      if (static_cast<long long>(cw) * ph > static_cast<long long>(ch) * pw) {
        pw = static_cast<int>(static_cast<long long>(pw) * ch / ph);
        ph = ch;
      } else {
        ph = static_cast<int>(static_cast<long long>(ph) * cw / pw);
        pw = cw;
      }
    } else {
      pw = cw;
      ph = ch;
    }
  }
  int x = Center ? (cw - pw) / 2 : 0;
  int y = Center ? (ch - ph) / 2 : 0;
  return RECT{x, y, x + pw, y + ph};
}

void TImage::Paint(HDC dc) {
  if (m_picture.Empty()) return;
  RECT r = DestRect();
  HBITMAP bitmap = m_picture.Kind() == PictureKind::Bitmap ? m_picture.Bitmap() : nullptr;
  if (Transparent && bitmap) {
    // A bitmap has no alpha of its own here: its bottom-left colour is the
    // see-through colour, as the window shape uses it.
    MemoryDC source(CreateCompatibleDC(dc));
    SelectGuard select(source.Get(), bitmap);
    COLORREF key = GetPixel(source.Get(), 0, m_picture.Height() - 1);
    TransparentBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.Get(), 0, 0,
                   m_picture.Width(), m_picture.Height(), key);
    return;
  }
  m_picture.Draw(dc, r);
}

TPropValue TImage::GetProperty(std::string_view name) const {
  if (name == "Transparent") return std::int64_t{Transparent};
  if (name == "Stretch") return std::int64_t{Stretch};
  if (name == "Center") return std::int64_t{Center};
  if (name == "Proportional") return std::int64_t{Proportional};
  return TGraphicControl::GetProperty(name);
}

bool TImage::SetProperty(std::string_view name, const TPropValue& value) {
  auto i = PropInt(value);
  if (i) {
    bool b = *i != 0;
    if (name == "Transparent") return Transparent = b, Invalidate(), true;
    if (name == "Stretch") return Stretch = b, Invalidate(), true;
    if (name == "Center") return Center = b, Invalidate(), true;
    if (name == "Proportional") return Proportional = b, Invalidate(), true;
  }
  return TGraphicControl::SetProperty(name, value);
}

}  // namespace corvane
