// The tab controls of the skin gallery. The form has no skin component of
// its own: the first form's component skins every window of the program.
#include "TabGallery.h"

#include "core/Geometry.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"

namespace corvane {
namespace {

class TTabGalleryForm : public TForm {
  CORVANE_CLASS(TTabGalleryForm, TForm)

 public:
  explicit TTabGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "TabGallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    SetCaption("Tabs");
    // Below the field form, beside the range form.
    Position = TPosition::poDesigned;
    SetBounds(660, 480, 600, 460);
    SetClientSize(590, 430);

    const std::vector<std::string> three{"First", "Second", "Third"};
    // Short texts, so the three tabs fit beside each other on every side.
    const std::vector<std::string> short3{"One", "Two", "Six"};
    TTabPosition sides[] = {TTabPosition::tpTop, TTabPosition::tpBottom, TTabPosition::tpLeft,
                            TTabPosition::tpRight};
    int column = 8;
    for (TTabPosition side : sides) {
      auto* tabs = Place<TTabControl>(this, column, 8, 136, 110, [side](TTabControl& t) {
        t.TabPosition = side;
      });
      tabs->SetTabs(short3);
      // The first tab: the system scrolls a narrow row to the current one.
      tabs->SetTabIndex(0);
      column += 144;
    }

    auto* pages = Place<TPageControl>(this, 8, 128, 280, 140);
    const char* names[] = {"General", "Details", "More"};
    for (const char* name : names) {
      TTabSheet& sheet = Create<TTabSheet>();
      sheet.SetCaption(name);
      sheet.SetPageControl(pages);
      TLabel& label = Create<TLabel>();
      label.SetBounds(12, 12, 0, 0);
      label.SetCaption(std::string("The page ") + name);
      label.SetParent(&sheet);
    }
    pages->SetTabIndex(0);

    auto* many = Place<TTabControl>(this, 300, 128, 282, 60);
    std::vector<std::string> twelve;
    for (int i = 1; i <= 12; ++i) twelve.push_back("Tab " + std::to_string(i));
    many->SetTabs(twelve);
    many->SetTabIndex(2);

    auto* buttons = Place<TTabControl>(this, 300, 200, 282, 68, [](TTabControl& t) {
      t.Style = TTabStyle::tsButtons;
    });
    buttons->SetTabs(three);
    buttons->SetTabIndex(0);

    auto* set = Place<TTabSet>(this, 8, 280, 574, 24);
    std::vector<std::string> sheets;
    for (int i = 1; i <= 16; ++i) sheets.push_back("Sheet " + std::to_string(i));
    set->SetTabs(sheets);
    set->SetTabIndex(1);

    auto* pictures = Place<TImagePageControl>(this, 8, 316, 300, 100);
    pictures->SetTabs(three);
    pictures->SetTabIndex(1);
    Place<TLabel>(this, 320, 330, 0, 0)->SetCaption("Tabs from given pictures");

    // Tabbed panels by kind: a page with its own label, a row of buttons.
    auto* panel = Place<TTabbedPanel>(this, 320, 348, 128, 74);
    panel->SetTabs({"Page", "Other"});
    panel->SetTabIndex(0);
    Place<TLabel>(panel, 12, 36, 0, 0)->SetCaption("On the page");
    auto* kinds = Place<TTabbedPanel>(this, 454, 348, 128, 74, [](TTabbedPanel& t) {
      t.TabKind = TTabKind::tkButtons;
    });
    kinds->SetTabs({"Left", "Right"});
    kinds->SetTabIndex(1);
  }

 private:
  template <typename T>
  T* Place(TWinControl* parent, int left, int top, int width, int height,
           const std::function<void(T&)>& prepare = {}) {
    T& control = Create<T>();
    control.SetBounds(left, top, width, height);
    if (prepare) prepare(control);
    control.SetParent(parent);
    return &control;
  }
};

}  // namespace

void CreateTabGalleryForm() {
  Application().CreateForm<TTabGalleryForm>().Show();
}

}  // namespace corvane
