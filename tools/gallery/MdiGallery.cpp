// The MDI form of the skin gallery: its frame and children are skinned by
// the first form's component like every other window of the program.
#include "MdiGallery.h"

#include <windows.h>

#include <string>

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

class TMdiFrameForm : public TForm {
  CORVANE_CLASS(TMdiFrameForm, TForm)

 public:
  TMdiFrameForm(TComponent* owner, bool rightToLeft) : TForm(owner), m_rightToLeft(rightToLeft) {
    Name = "MdiGallery";
    SetFormStyle(TFormStyle::fsMDIForm);
    SetCaption("Skin gallery: MDI");
    SetBounds(820, 40, 440, 330);
    FrameMenu = &Create<TMainMenu>();
    TMenuItem& file = Top(*FrameMenu, "&File");
    Child(file, "&New child");
    TMenuItem& window = Top(*FrameMenu, "&Window");
    Child(window, "&Cascade").OnClick = [this](TObject*) { SendMessageA(ClientHandle(), WM_MDICASCADE, 0, 0); };
    Child(window, "&Tile").OnClick = [this](TObject*) { SendMessageA(ClientHandle(), WM_MDITILE, 0, 0); };
    SetMenu(FrameMenu);
    ChildMenu = &Create<TMainMenu>();
    Child(Top(*ChildMenu, "&Document"), "&Save");
    Top(*ChildMenu, "&Format");
    Top(*ChildMenu, "&Help");
    Chosen = nullptr;
  }

  TMainMenu* FrameMenu = nullptr;
  TMainMenu* ChildMenu = nullptr;
  TEdit* Chosen = nullptr;

 protected:
  void CreateParams(TCreateParams& p) override {
    TForm::CreateParams(p);
    // Reading from the right, scroll bar on the left: not mirrored.
    if (m_rightToLeft) p.exStyle |= WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR | WS_EX_RIGHT;
  }

 private:
  bool m_rightToLeft;
  TMenuItem& Top(TMainMenu& menu, const std::string& caption) {
    TMenuItem& item = Create<TMenuItem>();
    item.SetCaption(caption);
    menu.Add(item);
    return item;
  }
  TMenuItem& Child(TMenuItem& parent, const std::string& caption) {
    TMenuItem& item = Create<TMenuItem>();
    item.SetCaption(caption);
    item.OnClick = [this, caption](TObject*) {
      if (Chosen) Chosen->SetText(caption);
    };
    parent.Add(item);
    return item;
  }
};

class TMdiChildForm : public TForm {
  CORVANE_CLASS(TMdiChildForm, TForm)

 public:
  TMdiChildForm(TComponent* owner, int number) : TForm(owner) {
    Name = "MdiChild" + std::to_string(number);
    SetFormStyle(TFormStyle::fsMDIChild);
    SetCaption("Child " + std::to_string(number));
    SetBounds(10 + 30 * number, 10 + 30 * number, 240, 160);
    Field = &Create<TEdit>();
    Field->SetBounds(10, 10, 180, 21);
    Field->SetText("Text of child " + std::to_string(number));
    Field->SetParent(this);
  }
  TEdit* Field = nullptr;
};

}  // namespace

MdiGallery CreateMdiGallery(bool rightToLeft) {
  auto& frame = Application().CreateForm<TMdiFrameForm>(rightToLeft);
  frame.Show();
  MdiGallery gallery;
  gallery.frame = &frame;
  gallery.frameMenu = frame.FrameMenu;
  gallery.childMenu = frame.ChildMenu;
  for (int i = 0; i < 2; ++i) {
    auto& child = Application().CreateForm<TMdiChildForm>(i + 1);
    child.Show();
    gallery.children[i] = &child;
  }
  gallery.chosen = static_cast<TMdiChildForm*>(gallery.children[0])->Field;
  frame.Chosen = gallery.chosen;
  return gallery;
}

}  // namespace corvane
