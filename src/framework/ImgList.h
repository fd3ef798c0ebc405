// Image lists of 16 x 16 images for menus and lists; icons are scaled in.
#pragma once

#include "core/Geometry.h"

#include <windows.h>
#include <commctrl.h>

#include "framework/Classes.h"
#include "platform/Handles.h"

namespace corvane {

namespace detail {
inline void DestroyImageList(HIMAGELIST h) { ImageList_Destroy(h); }
}  // namespace detail
using UniqueImageList = Owned<HIMAGELIST, detail::DestroyImageList>;

class TImageList : public TComponent {
  CORVANE_CLASS(TImageList, TComponent)

 public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Another image size (for a DPI): the images go, the list is made anew.
  void SetSize(int width, int height);
  int Count() const;
  // Adds a copy of the icon, scaled to the list's size; the caller keeps the
  // icon. Returns the new index, or -1 when the list refused it.
  int AddIcon(HICON icon);
  // Adds the images of a bitmap strip of Width()-wide cells, pixels of
  // maskColour transparent; the caller keeps the bitmap. Returns the index
  // of the first new image, or -1 when the list refused them.
  int AddMasked(HBITMAP bitmap, COLORREF maskColour);
  void Clear();
  // Draws image index at x, y; a disabled image is drawn greyed.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // The list itself, made on first use: a form that declares a list pays
  // for the common controls library only once it puts images in.
  HIMAGELIST Handle() const;
  // Whether the handle is shared with others (kept for designed forms).
  bool ShareImages = false;

 private:
  int m_width;
  int m_height;
  mutable UniqueImageList m_list;
};

}  // namespace corvane
