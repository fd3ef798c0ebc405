#include "framework/ImgList.h"

#include <stdexcept>

namespace corvane {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), m_width(width), m_height(height) {
  m_list.Reset(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, 4, 4));
  if (!m_list) throw std::runtime_error("Cannot create image list");
}

int TImageList::Count() const { return ImageList_GetImageCount(m_list.Get()); }

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  return ImageList_AddIcon(m_list.Get(), icon);
}

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColour) {
  if (!bitmap) return -1;
  return ImageList_AddMasked(m_list.Get(), bitmap, maskColour);
}

void TImageList::Clear() { ImageList_RemoveAll(m_list.Get()); }

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(m_list.Get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = m_list.Get();
  p.i = index;
  p.hdcDst = dc;
  p.x = x;
  p.y = y;
  p.rgbBk = CLR_NONE;
  p.rgbFg = CLR_DEFAULT;
  p.fStyle = ILD_TRANSPARENT;
  p.fState = ILS_SATURATE;
  ImageList_DrawIndirect(&p);
}

}  // namespace corvane
