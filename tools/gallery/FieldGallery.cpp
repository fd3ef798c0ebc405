#include "FieldGallery.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/DataCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

std::vector<std::string> Numbered(const std::string& stem, int count) {
  std::vector<std::string> items;
  for (int i = 1; i <= count; ++i) items.push_back(stem + " " + std::to_string(i));
  return items;
}

class TFieldGalleryForm : public TForm {
  CORVANE_CLASS(TFieldGalleryForm, TForm)

 public:
  explicit TFieldGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "FieldGallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    SetCaption("Skin gallery: fields and lists");
    Position = TPosition::poDesigned;
    SetBounds(660, 10, 600, 460);
    SetClientSize(580, 420);

    // Edits and a memo.
    TGroupBox* fields = Box(8, 6, 276, 196, "Edits");
    Place<TEdit>(fields, 12, 20, 120, 21)->SetText("An edit");
    TEdit* off = Place<TEdit>(fields, 144, 20, 120, 21);
    off->SetText("Disabled");
    off->SetEnabled(false);
    TMemo* memo = Place<TMemo>(fields, 12, 50, 252, 66);
    memo->SetText("A memo with more lines than fit,\r\nso its skinned bar shows.\r\nThree"
                  "\r\nFour\r\nFive\r\nSix");
    Place<TDateTimePicker>(fields, 12, 124, 150, 21);
    Place<TDateTimePicker>(fields, 12, 152, 150, 21,
                           [](TDateTimePicker& p) { p.Kind = TDateTimeKind::dtkTime; });

    // Combo boxes of the three styles.
    TGroupBox* combos = Box(292, 6, 280, 196, "Combo boxes");
    TComboBox* drop = Place<TComboBox>(combos, 12, 20, 256, 21);
    drop->SetItems(Numbered("Harbour", 30));
    drop->SetItemIndex(0);
    TComboBox* list = Place<TComboBox>(combos, 12, 50, 256, 21, [](TComboBox& c) {
      c.Style = TComboBoxStyle::csDropDownList;
    });
    list->SetItems(Numbered("Pick", 30));
    list->SetItemIndex(2);
    TComboBox* offCombo = Place<TComboBox>(combos, 12, 80, 256, 21, [](TComboBox& c) {
      c.Style = TComboBoxStyle::csDropDownList;
    });
    offCombo->SetItems({"Disabled"});
    offCombo->SetItemIndex(0);
    offCombo->SetEnabled(false);
    TComboBox* simple = Place<TComboBox>(combos, 12, 110, 256, 78, [](TComboBox& c) {
      c.Style = TComboBoxStyle::csSimple;
    });
    simple->SetItems(Numbered("Always open", 12));

    // Lists and scroll bars.
    TListBox* box = Place<TListBox>(this, 8, 210, 150, 110);
    box->SetItems(Numbered("Link", 40));
    TListView* view = Place<TListView>(this, 166, 210, 250, 110);
    view->SetColumns({{"Name", 120}, {"Target", 200}});
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= 20; ++i)
      rows.push_back({"Link " + std::to_string(i), "C:\\Programs\\tool" + std::to_string(i) + ".exe"});
    view->SetRows(rows);
    TScrollBar* horizontal = Place<TScrollBar>(this, 424, 210, 148, 17);
    horizontal->SetParams(30, 0, 100, 20);
    TScrollBar* vertical = Place<TScrollBar>(this, 424, 234, 17, 86, [](TScrollBar& b) {
      b.Kind = TScrollBarKind::sbVertical;
    });
    vertical->SetParams(0, 0, 50, 10);
    TScrollBar* disabled = Place<TScrollBar>(this, 452, 234, 120, 17);
    disabled->SetParams(10, 0, 100, 10);
    disabled->SetEnabled(false);
    Place<TLabel>(this, 8, 330, 0, 0)->SetCaption("Open the combo boxes and drag the bars.");
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
  TGroupBox* Box(int left, int top, int width, int height, const std::string& caption) {
    TGroupBox* box = Place<TGroupBox>(this, left, top, width, height);
    box->SetCaption(caption);
    return box;
  }
};

}  // namespace

void CreateFieldGallery() {
  TFieldGalleryForm& form = Application().CreateForm<TFieldGalleryForm>();
  form.Show();
}

}  // namespace corvane
