#include "framework/ImgList.h"

#include <stdexcept>

namespace corvane {

TImageList::TImageList(TComponent* owner, int width, int height)
    : TComponent(owner), m_width(width), m_height(height) {}

HIMAGELIST TImageList::Handle() const {
  if (!m_list) {
    m_list.Reset(ImageList_Create(m_width, m_height, ILC_COLOR32 | ILC_MASK, 4, 4));
    if (!m_list) throw std::runtime_error("Cannot create image list");
  }
  return m_list.Get();
}

int TImageList::Count() const { return m_list ? ImageList_GetImageCount(m_list.Get()) : 0; }

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  return ImageList_AddIcon(Handle(), icon);
}

int TImageList::AddMasked(HBITMAP bitmap, COLORREF maskColour) {
  if (!bitmap) return -1;
  return ImageList_AddMasked(Handle(), bitmap, maskColour);
}

void TImageList::SetSize(int width, int height) {
  if (width == m_width && height == m_height) return;
  m_width = width;
  m_height = height;
  m_list.Reset();
}

void TImageList::Clear() {
  if (m_list) ImageList_RemoveAll(m_list.Get());
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(Handle(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  IMAGELISTDRAWPARAMS p{};
  p.cbSize = sizeof p;
  p.himl = Handle();
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
