// The bar form of the skin gallery. Like the other gallery forms it has no
// skin component of its own: the first form's component skins every window
// of the program.
#include "BarGallery.h"

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Buttons.h"
#include "framework/CheckBoxes.h"
#include "framework/DataCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/Panels.h"
#include "framework/StdCtrls.h"
#include "framework/ToolBars.h"
#include "pictures/WinSurface.h"

namespace corvane {
namespace {

// Squares of the gallery's colours on the key colour, one image each. The
// key is also fully transparent, as an image list of 32-bit images goes by
// the pictures' alpha rather than by the key.
void FillImages(TImageList& list) {
  const int n = static_cast<int>(std::size(kBarImageColours));
  Surface strip(16 * n, 16, PixelFromColour(kColourKey, 0));
  for (int i = 0; i < n; ++i)
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x) strip.At(16 * i + x, y) = PixelFromColour(kBarImageColours[i]);
  UniqueBitmap bitmap = CreateDibSection(strip.View(), false);
  list.AddMasked(bitmap.Get(), RGB(255, 0, 255));
}

class TBarGalleryForm : public TForm {
  CORVANE_CLASS(TBarGalleryForm, TForm)

 public:
  TBarGalleryForm(TComponent* owner, const char* pictureFile) : TForm(owner) {
    Name = "BarGallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    SetCaption("Skin gallery: bars");
    SetBounds(660, 480, 420, 330);
    SetClientSize(400, 300);

    Gallery.form = this;
    Gallery.images = &Create<TImageList>();
    FillImages(*Gallery.images);
    Gallery.chosen = Place<TEdit>(this, 8, 272, 384, 21);
    Gallery.chosen->SetText("Nothing chosen yet");

    Gallery.openMenu = &Create<TPopupMenu>();
    MenuItem(*Gallery.openMenu, "Open &recent");
    MenuItem(*Gallery.openMenu, "Open &folder");
    TToolBar* tools = Place<TToolBar>(this, 0, 0, 400, 30);
    Gallery.tools = tools;
    // This menu belongs to the tool bar, not to the form.
    Gallery.moreMenu = &tools->Create<TPopupMenu>();
    MenuItem(*Gallery.moreMenu, "&Settings");
    MenuItem(*Gallery.moreMenu, "&About");
    tools->SetImages(Gallery.images);
    tools->AddButton("New", 0, TToolButtonStyle::tbsButton, nullptr, Chooser("New"));
    tools->AddButton("", -1, TToolButtonStyle::tbsSeparator);
    tools->AddButton("Open", 1, TToolButtonStyle::tbsDropDown, Gallery.openMenu, Chooser("Open"));
    tools->AddButton("Print", 2, TToolButtonStyle::tbsButton, nullptr, Chooser("Print"));
    tools->SetButtonEnabled(kBarPrint, false);
    tools->AddButton("", -1, TToolButtonStyle::tbsSeparator);
    tools->AddButton("More", 3, TToolButtonStyle::tbsMenuButton, Gallery.moreMenu);

    Gallery.crowded = Place<TToolBar>(this, 0, 34, 160, 26);
    for (const char* caption : {"One", "Two", "Three", "Four", "Five", "Six", "Seven", "Eight"})
      Gallery.crowded->AddButton(caption, -1, TToolButtonStyle::tbsButton, nullptr, Chooser(caption));

    Gallery.bands = Place<TCoolBar>(this, 0, 64, 400, 27);
    TEdit* field = Place<TEdit>(Gallery.bands, 0, 0, 120, 21);
    field->SetText("In a band");
    TComboBox* combo = Place<TComboBox>(Gallery.bands, 0, 0, 120, 21);
    Gallery.bands->AddBand(*field, "Find");
    Gallery.bands->AddBand(*combo, "Pick");

    TGroupBox* glyphs = Place<TGroupBox>(this, 8, 104, 248, 160, "Glyphs");
    Gallery.listGlyph = GlyphButton(glyphs, 10, 20, "List", 0, -1, true);
    Gallery.listGlyphOff = GlyphButton(glyphs, 126, 20, "Greyed", 1, -1, false);
    Gallery.listGlyphOwnOff = GlyphButton(glyphs, 10, 60, "Own off", 1, 2, false);
    Gallery.pictureGlyph = GlyphButton(glyphs, 126, 60, "Picture", -1, -1, true);
    if (pictureFile && *pictureFile) Gallery.pictureGlyph->SetPngImage(pictureFile);
    // A picture that cannot be loaded: the plain button.
    TBitBtn* broken = GlyphButton(glyphs, 10, 100, "Broken", -1, -1, true);
    broken->SetPngImage("no such picture.png");

    // The frame owns its controls, as a frame of a form designer would.
    Gallery.frame = Place<TFrame>(this, 264, 104, 128, 160);
    Gallery.frameButton = &Gallery.frame->Create<TButton>();
    Gallery.frameButton->SetBounds(10, 10, 100, 25);
    Gallery.frameButton->SetCaption("In a frame");
    Gallery.frameButton->SetParent(Gallery.frame);
    TCheckBox& check = Gallery.frame->Create<TCheckBox>();
    check.SetBounds(10, 44, 100, 20);
    check.SetCaption("Framed check");
    check.SetParent(Gallery.frame);
  }

  BarGallery Gallery;

 private:
  template <typename T>
  T* Place(TWinControl* parent, int left, int top, int width, int height,
           const std::string& caption = {}) {
    T& control = Create<T>();
    control.SetBounds(left, top, width, height);
    if (!caption.empty()) control.SetCaption(caption);
    control.SetParent(parent);
    return &control;
  }
  TNotifyEvent Chooser(const std::string& what) {
    return [this, what](TObject*) { Gallery.chosen->SetText(what); };
  }
  void MenuItem(TPopupMenu& menu, const std::string& caption) {
    TMenuItem& item = menu.Owner()->Create<TMenuItem>();
    item.SetCaption(caption);
    item.OnClick = [this, caption](TObject*) { Gallery.chosen->SetText(caption); };
    menu.Add(item);
  }
  TBitBtn* GlyphButton(TWinControl* parent, int left, int top, const std::string& caption, int image,
                       int disabledImage, bool enabled) {
    TBitBtn* button = Place<TBitBtn>(parent, left, top, 110, 32, caption);
    if (image >= 0) {
      button->Images = Gallery.images;
      button->ImageIndex = image;
      button->DisabledIndex = disabledImage;
    }
    button->SetEnabled(enabled);
    return button;
  }
};

}  // namespace

BarGallery CreateBarGallery(const char* pictureFile) {
  auto& form = Application().CreateForm<TBarGalleryForm>(pictureFile);
  form.Show();
  return form.Gallery;
}

}  // namespace corvane
