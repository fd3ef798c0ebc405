// The framework's range controls on real windows: ranges and positions kept
// before and after the window exists, named properties, and an up-down
// stepping the edit it is associated with.
#include "core/Geometry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "FrameworkTestSupport.h"
#include "framework/Forms.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"

namespace corvane {
namespace {

class RangeControls : public ::testing::Test {
 protected:
  void SetUp() override { ResetApplication(); }
  void TearDown() override { ResetApplication(); }
  TForm& MakeForm() {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBounds(100, 100, 320, 200);
    form.Handle();
    return form;
  }
};

TEST_F(RangeControls, KeepRangeAndPositionBeforeAndAfterTheirWindowAndPublishThemByName) {
  TForm& form = MakeForm();
  TProgressBar& bar = form.Create<TProgressBar>();
  TTrackBar& track = form.Create<TTrackBar>();
  TUpDown& spin = form.Create<TUpDown>();
  for (TRangeControl* c : {static_cast<TRangeControl*>(&bar), static_cast<TRangeControl*>(&track),
                           static_cast<TRangeControl*>(&spin)}) {
    c->SetRange(40, -10);  // swapped
    c->SetPosition(70);    // kept inside
    EXPECT_EQ(c->Min(), -10) << c->ClassName();
    EXPECT_EQ(c->Max(), 40);
    EXPECT_EQ(c->Position(), 40);
    // The window gets what the control kept, and answers from then on.
    c->SetParent(&form);
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(c->Position(), 40) << c->ClassName();
    EXPECT_TRUE(c->SetProperty("Position", std::int64_t{5}));
    EXPECT_EQ(c->GetProperty("Position"), TPropValue{std::int64_t{5}});
    EXPECT_TRUE(c->SetProperty("Max", std::int64_t{2}));
    EXPECT_EQ(c->GetProperty("Max"), TPropValue{std::int64_t{2}});
    EXPECT_EQ(c->Position(), 2) << "the position follows the range";
    EXPECT_EQ(c->GetProperty("Min"), TPropValue{std::int64_t{-10}});
    EXPECT_FALSE(c->SetProperty("Min", std::string("low")));
  }
  EXPECT_EQ(SendMessageA(bar.Handle(), PBM_GETPOS, 0, 0), 2);
  EXPECT_EQ(SendMessageA(track.Handle(), TBM_GETRANGEMIN, 0, 0), -10);
  EXPECT_EQ(SendMessageA(spin.Handle(), UDM_GETPOS32, 0, 0), 2);
  EXPECT_EQ(bar.GetProperty("Orientation"), TPropValue{TEnumName{"pbHorizontal"}});
  // Moved by the user (here by the window's own message), the window's
  // position is the one read.
  SendMessageA(track.Handle(), TBM_SETPOS, TRUE, -4);
  EXPECT_EQ(track.Position(), -4);
}

TEST_F(RangeControls, AnUpDownStepsItsAssociatedEditAndLetsAGoneEditGo) {
  TForm& form = MakeForm();
  TEdit& edit = form.Create<TEdit>();
  edit.SetBounds(10, 10, 80, 21);
  edit.SetParent(&form);
  TUpDown& spin = form.Create<TUpDown>();
  spin.SetBounds(90, 10, 16, 21);
  spin.SetRange(0, 9);
  spin.SetParent(&form);
  spin.SetAssociate(&edit);
  spin.SetPosition(4);
  EXPECT_EQ(spin.Associate(), &edit);
  EXPECT_EQ(spin.GetProperty("Associate"), TPropValue{static_cast<TComponent*>(&edit)});
  EXPECT_EQ(edit.Text(), "4");
  // The down arrow, pressed and released on the window.
  RECT r{};
  GetClientRect(spin.Handle(), &r);
  SendMessageA(spin.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.right / 2, r.bottom - 3));
  SendMessageA(spin.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(r.right / 2, r.bottom - 3));
  test::Pump();
  EXPECT_EQ(spin.Position(), 3);
  EXPECT_EQ(edit.Text(), "3");
  EXPECT_FALSE(spin.SetProperty("Associate", static_cast<TComponent*>(&form.Create<TLabel>())))
      << "only a windowed control";
  edit.DestroyHandle();
  EXPECT_EQ(spin.Associate(), nullptr);
}

}  // namespace
}  // namespace corvane
