// The picture object: loads a picture file by its extension, keeps its kind
// and size, and draws itself onto any DC. Decoding is the portable core's;
// this half owns the GDI objects. Windows only.
#pragma once

#include "core/Surface.h"

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "platform/Handles.h"

namespace corvane {

enum class PictureKind { Empty, Bitmap, Icon, Metafile, Jpeg, Png, Gif };

// A picture that could not be loaded; the message names the file and the reason.
class PictureError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  // Loads by extension: bmp, dib, jpg, jpeg, jpe, png, gif, ico, emf, wmf.
  // On any failure throws PictureError naming the file; the previous picture
  // stays and OnChange is not called.
  void LoadFromFile(const std::string& fileName);
  // Copies the icon; the caller keeps its own.
  void AssignIcon(HICON icon);
  // Takes a 24- or 32-bit DIB section; a null bitmap empties the picture.
  void AssignBitmap(UniqueBitmap bitmap);
  // Deep copy of another picture (its OnChange is not copied).
  void Assign(const TPicture& other);
  void Clear();

  PictureKind Kind() const { return m_state.kind; }
  int Width() const { return m_state.width; }
  int Height() const { return m_state.height; }
  bool Empty() const { return m_state.kind == PictureKind::Empty; }

  // Stretched to r; alpha-blended where the picture has alpha (icons, PNG,
  // GIF transparency).
  void Draw(HDC dc, const RECT& r) const;
  // The bitmap when Kind() is Bitmap, else nullptr. Still owned by the picture.
  HBITMAP Bitmap() const { return Kind() == PictureKind::Bitmap ? m_state.bitmap.Get() : nullptr; }
  // The icon when Kind() is Icon, else nullptr. Still owned by the picture.
  HICON Icon() const { return Kind() == PictureKind::Icon ? m_state.icon.Get() : nullptr; }
  // The picture's own pixels with straight alpha when it carries alpha: a
  // PNG with transparency, a 32-bit bitmap or icon whose alpha bytes are
  // used. Empty for every other picture (JPEG, GIF, metafiles, mask icons,
  // bitmaps without alpha); those have no soft transparency of their own.
  Surface AlphaPixels() const;
  // A GIF's transparent colour; false when the picture has none.
  bool TransparentColour(Colour& colour) const;

  // Called after every successful change.
  std::function<void()> OnChange;

 private:
  // Everything but OnChange, so a load can be built aside and swapped in.
  struct State {
    PictureKind kind = PictureKind::Empty;
    int width = 0;
    int height = 0;
    UniqueBitmap bitmap;          // Bitmap
    UniqueIcon icon;              // Icon
    UniqueEnhMetafile metafile;   // Metafile (a WMF is converted on load)
    Surface pixels;               // Jpeg, Png, Gif: straight alpha
    UniqueBitmap blend;           // premultiplied copy of pixels when any is not opaque
    bool hasTransparentColour = false;
    Colour transparentColour = 0;
  };
  void Replace(State&& state);
  static State FromPixels(PictureKind kind, Surface pixels);
  static State Load(const std::string& fileName);
  static State Copy(const State& from);

  State m_state;
};

}  // namespace corvane
