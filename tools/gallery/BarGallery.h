// The gallery's bar form: tool bars (images from an image list, separators,
// a drop-down button and a button with a menu, a disabled button, a bar
// without images and more buttons than fit), a band container, a frame of
// controls, and bitmap buttons whose glyphs come from an image list and
// from a picture file. Windows only.
#pragma once

namespace corvane {

class TBitBtn;
class TButton;
class TCoolBar;
class TEdit;
class TForm;
class TFrame;
class TImageList;
class TPopupMenu;
class TToolBar;

struct BarGallery {
  TForm* form = nullptr;
  TToolBar* tools = nullptr;
  // No image list, more buttons than it has room for.
  TToolBar* crowded = nullptr;
  TCoolBar* bands = nullptr;
  TImageList* images = nullptr;
  // The drop-down button's menu (owned by the form) and the menu button's
  // (owned by the tool bar itself).
  TPopupMenu* openMenu = nullptr;
  TPopupMenu* moreMenu = nullptr;
  // Shows what was chosen last.
  TEdit* chosen = nullptr;
  // Glyphs from the image list: enabled, disabled with the normal image
  // only, disabled with its own disabled image; and from a picture file.
  TBitBtn* listGlyph = nullptr;
  TBitBtn* listGlyphOff = nullptr;
  TBitBtn* listGlyphOwnOff = nullptr;
  TBitBtn* pictureGlyph = nullptr;
  TFrame* frame = nullptr;
  TButton* frameButton = nullptr;
};

// The tool bar's buttons, by index.
enum BarGalleryButton : int {
  kBarNew = 0,
  kBarOpen = 2,   // drop-down: its arrow opens openMenu
  kBarPrint = 3,  // disabled
  kBarMore = 5,   // opens moreMenu wherever pressed
};

// The image list's colours, one per image (16 x 16 squares on the key).
constexpr unsigned kBarImageColours[] = {0x0000C0, 0x00A000, 0xC00000, 0x00A0C0};

// Creates the form (the application owns it) at its place in the gallery.
// pictureFile names the picture glyph's file ("" for none; a name that
// cannot be loaded leaves that button plain).
BarGallery CreateBarGallery(const char* pictureFile = "gallery-glyph.png");

}  // namespace corvane
