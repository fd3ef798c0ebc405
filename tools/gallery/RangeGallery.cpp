// The range controls of the skin gallery: progress bars lying and standing
// at empty, half and full; track bars lying, standing and disabled; up-downs
// standing, lying, disabled and one stepping an edit. The form has no skin
// component of its own: the first form's component skins every window of
// the program.
#include "RangeGallery.h"

#include "core/Geometry.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "framework/Forms.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

class TRangeGalleryForm : public TForm {
  CORVANE_CLASS(TRangeGalleryForm, TForm)

 public:
  explicit TRangeGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "RangeGallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    SetCaption("Range controls");
    const int width = 310, height = 406;
    // Below the gallery's first form.
    Position = TPosition::poDesigned;
    SetBounds(10, 480, width, height);
    SetClientSize(300, 376);

    TGroupBox* progress = Box(8, 6, 284, 130, "Progress bars");
    int row = 22;
    for (int position : {0, 50, 100}) {
      Place<TProgressBar>(progress, 12, row, 170, 18)->SetPosition(position);
      Place<TLabel>(progress, 190, row + 2, 0, 0, std::to_string(position) + " %");
      row += 30;
    }
    int column = 226;
    for (int position : {0, 50, 100}) {
      auto* bar = Place<TProgressBar>(progress, column, 20, 14, 100, {}, [](TProgressBar& b) {
        b.Orientation = TProgressBarOrientation::pbVertical;
      });
      bar->SetPosition(position);
      column += 18;
    }

    TGroupBox* tracks = Box(8, 142, 284, 140, "Track bars");
    Place<TTrackBar>(tracks, 12, 20, 200, 40)->SetPosition(3);
    auto* off = Place<TTrackBar>(tracks, 12, 70, 200, 40);
    off->SetPosition(7);
    off->SetEnabled(false);
    auto* standing = Place<TTrackBar>(tracks, 226, 18, 40, 112, {}, [](TTrackBar& t) {
      t.Orientation = TTrackBarOrientation::trVertical;
    });
    standing->SetPosition(6);
    Place<TLabel>(tracks, 12, 114, 0, 0, "Lying, disabled, standing");

    TGroupBox* spins = Box(8, 288, 284, 80, "Up-downs");
    Place<TUpDown>(spins, 12, 22, 16, 24);
    Place<TUpDown>(spins, 40, 26, 32, 16, {},
                   [](TUpDown& u) { u.Orientation = TUDOrientation::udHorizontal; });
    Place<TUpDown>(spins, 84, 22, 16, 24)->SetEnabled(false);
    Place<TLabel>(spins, 12, 54, 0, 0, "Standing, lying, disabled");
    auto* edit = Place<TEdit>(spins, 150, 22, 80, 21);
    auto* stepper = Place<TUpDown>(spins, 230, 22, 16, 21);
    stepper->SetRange(0, 99);
    stepper->SetAssociate(edit);
    stepper->SetPosition(42);
    Place<TLabel>(spins, 150, 54, 0, 0, "Stepping an edit");
  }

 private:
  template <typename T>
  T* Place(TWinControl* parent, int left, int top, int width, int height,
           const std::string& caption = {}, void (*prepare)(T&) = nullptr) {
    T& control = Create<T>();
    control.SetBounds(left, top, width, height);
    if (!caption.empty()) control.SetCaption(caption);
    if (prepare) prepare(control);
    control.SetParent(parent);
    return &control;
  }
  TGroupBox* Box(int left, int top, int width, int height, const std::string& caption) {
    return Place<TGroupBox>(this, left, top, width, height, caption);
  }
};

}  // namespace

void CreateRangeGalleryForm() {
  Application().CreateForm<TRangeGalleryForm>().Show();
}

}  // namespace corvane
