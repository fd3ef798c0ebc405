// Image lists of 16 x 16 images for menus and lists; icons are scaled in.
#pragma once

#include "core/Geometry.h"

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "core/Surface.h"
#include "framework/Classes.h"
#include "platform/Handles.h"

namespace corvane {

namespace detail {
inline void DestroyImageList(HIMAGELIST h) { ImageList_Destroy(h); }
}  // namespace detail
using UniqueImageList = Owned<HIMAGELIST, detail::DestroyImageList>;

// The images are kept and drawn here, with the system's alpha blend: a
// launcher that shows its menu all day never loads the common controls
// library for it (under Wine that library alone holds about 2 MB).
class TImageList : public TComponent {
  CORVANE_CLASS(TImageList, TComponent)

 public:
  explicit TImageList(TComponent* owner, int width = 16, int height = 16);

  int Width() const { return m_width; }
  int Height() const { return m_height; }
  // Another image size (for a DPI): the images go, the list starts anew.
  void SetSize(int width, int height);
  int Count() const { return m_count; }
  // Adds a copy of the icon, scaled to the list's size; the caller keeps the
  // icon. Returns the new index, or -1 when the list refused it.
  int AddIcon(HICON icon);
  // Adds the images of a bitmap strip of Width()-wide cells, pixels of
  // maskColour transparent; the caller keeps the bitmap. Returns the index
  // of the first new image, or -1 when the list refused them.
  int AddMasked(HBITMAP bitmap, COLORREF maskColour);
  void Clear();
  // Draws image index at x, y over what is there; a disabled image is drawn
  // in greys.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;
  // The images as a common-controls list, for a control that takes one;
  // made on the first call after a change.
  HIMAGELIST Handle() const;
  // Whether the handle is shared with others (kept for designed forms).
  bool ShareImages = false;

 private:
  // Appends images already in the list's format (straight alpha), one
  // image after another; returns the index of the first.
  int Append(const std::vector<Pixel>& images, int count);
  SurfaceView Images() const;
  void Changed();

  int m_width;
  int m_height;
  int m_count = 0;
  // The images one below the other, straight alpha.
  std::vector<Pixel> m_pixels;
  // What Draw blends from: the images premultiplied, made on first draw
  // after a change.
  mutable UniqueBitmap m_blendable;
  mutable UniqueImageList m_list;
};

}  // namespace corvane
