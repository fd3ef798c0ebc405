#include "MenuGallery.h"

#include <windows.h>

#include <initializer_list>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

class TMenuGalleryForm : public TForm {
  CORVANE_CLASS(TMenuGalleryForm, TForm)

 public:
  explicit TMenuGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "MenuGallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    SetCaption("Skin gallery: menu bar");
    SetBounds(340, 480, 320, 240);
    SetClientSize(300, 160);

    Bar = &Create<TMainMenu>();
    TMenuItem& file = Top("&File");
    Items(file, {"&New\tCtrl+N", "&Open...\tCtrl+O", "-"});
    TMenuItem& recent = Child(file, "&Recent");
    Items(recent, {"&First", "&Second"});
    Items(file, {"-", "E&xit"});

    TMenuItem& edit = Top("&Edit");
    Items(edit, {"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C"});
    Child(edit, "&Paste\tCtrl+V").SetEnabled(false);

    TMenuItem& view = Top("&View");
    Child(view, "&Status line").SetChecked(true);
    TMenuItem* level = &Child(view, "&Deep");
    for (int depth = 1; depth < kMenuGalleryDepth; ++depth) level = &Child(*level, "Level " + std::to_string(depth));
    Child(*level, "The bottom");

    TMenuItem& off = Top("&Tools");
    off.SetEnabled(false);
    Child(off, "&Options");

    TMenuItem& help = Top("&Help");
    help.RightJustify = true;
    Child(help, "&About");
    SetMenu(Bar);

    Chosen = &Create<TEdit>();
    Chosen->SetParent(this);
    Chosen->SetBounds(10, 10, 280, 21);
    Chosen->SetText("Nothing chosen yet");
  }

  TMainMenu* Bar = nullptr;
  TEdit* Chosen = nullptr;

 private:
  TMenuItem& Top(const std::string& caption) {
    TMenuItem& item = Create<TMenuItem>();
    item.SetCaption(caption);
    Bar->Add(item);
    return item;
  }
  TMenuItem& Child(TMenuItem& parent, const std::string& caption) {
    TMenuItem& item = Create<TMenuItem>();
    item.SetCaption(caption);
    if (caption != "-") item.OnClick = [this, caption](TObject*) { Chosen->SetText(caption); };
    parent.Add(item);
    return item;
  }
  void Items(TMenuItem& parent, std::initializer_list<const char*> captions) {
    for (const char* caption : captions) Child(parent, caption);
  }
};

}  // namespace

MenuGallery CreateMenuGallery() {
  auto& form = Application().CreateForm<TMenuGalleryForm>();
  form.Show();
  return {&form, form.Bar, form.Chosen};
}

}  // namespace corvane
