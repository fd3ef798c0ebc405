// Paths of the skin engine that the program's own windows never took: a
// form refreshed by message refreshes its controls, the skin component's
// before-skinning event names the form, the icon button shows the
// application's icon on a form without one, an Alt+letter no item of a
// form's bar has goes on to the main form's bar, and controls that no rule
// walks are reached through the form's tab order.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "FrameworkTestSupport.h"
#include "MenuGallery.h"
#include "SkinTestSupport.h"
#include "framework/Forms.h"
#include "framework/Panels.h"
#include "framework/StdCtrls.h"
#include "pictures/WinSurface.h"
#include "skin/controls/WinSkinButtons.h"
#include "skin/data/WinSkinData.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/manager/WinSkinManage.h"

namespace corvane {
namespace {

using test::Pump;
using test::PumpUntil;
using namespace test::skin;

// Notes which item of a bar has its menu open, then closes the menu.
TWinSkinMenu* g_openBar = nullptr;
int g_opened = -1;
void CALLBACK NoteOpenItem(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = FindWindowA("#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  g_opened = g_openBar->OpenIndex();
  KillTimer(nullptr, id);
  EndMenu();
}

class SkinPaths : public ::testing::Test {
 protected:
  void SetUp() override { FreshStart(); }
  void TearDown() override {
    ResetApplication();
    TSkinManage::Destroy();
  }
  TForm& MakeForm(int left, int top, TFormBorderStyle border = TFormBorderStyle::bsDialog) {
    TForm& form = Application().CreateForm<TForm>();
    form.SetBorderStyle(border);
    form.SetCaption("Paths");
    form.SetBounds(left, top, 320, 220);
    return form;
  }
};

TEST_F(SkinPaths, ARefreshByMessageRefreshesTheFormsControlSkins) {
  TSkinData& data = ActiveSkinData();
  TForm& form = MakeForm(100, 100);
  TPanel& panel = PlaceOn<TPanel>(form, nullptr, 10, 10, 120, 80);
  ASSERT_TRUE(ShowAndAwaitSkin(form));
  const Colour face = ResolveColour(data.Skin().Colours[SkinDefinition::kButtonFace], data.Skin().System());
  ASSERT_EQ(panel.Color(), face);
  panel.SetColor(0x0000FF);
  SendMessageA(form.Handle(), WM_SKINREFRESH, 0, 0);
  EXPECT_EQ(panel.Color(), face) << "the panel's skin took the skin again";
}

TEST_F(SkinPaths, TheBeforeSkinningEventNamesTheForm) {
  TSkinData& data = ActiveSkinData();
  TObject* sender = nullptr;
  HWND window = nullptr;
  data.OnBeforeSkinForm = [&](TObject* s, HWND w, const std::string&) {
    sender = s;
    window = w;
  };
  TForm& form = MakeForm(100, 100);
  ASSERT_TRUE(ShowAndAwaitSkin(form));
  EXPECT_EQ(sender, &form);
  EXPECT_EQ(window, form.Handle());
}

TEST_F(SkinPaths, TheIconButtonShowsTheApplicationsIconOnAFormWithoutOne) {
  // A plain green icon for the application window.
  const int size = GetSystemMetrics(SM_CXSMICON);
  Surface green(size, size, PixelFromColour(0x00C000));
  UniqueBitmap colour = CreateDibSection(green.View(), false);
  UniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  {
    MemoryDC dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.Get(), mask.Get());
    PatBlt(dc.Get(), 0, 0, size, size, BLACKNESS);  // all opaque
  }
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  UniqueIcon icon(CreateIconIndirect(&info));
  ASSERT_TRUE(icon);
  SendMessageA(Application().Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Get()));

  ActiveSkinData();
  TForm& form = MakeForm(100, 100, TFormBorderStyle::bsSingle);
  ASSERT_TRUE(ShowAndAwaitSkin(form));
  ASSERT_EQ(SendMessageA(form.Handle(), WM_GETICON, ICON_SMALL, 0), 0);
  ASSERT_EQ(SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0), 0);
  TWinSkinForm& skin = *TSkinManage::Instance()->FindFormSkin(form.Handle());
  const TWinSysButton* iconButton = nullptr;
  for (const auto& b : skin.Buttons())
    if (b->Visible && IsIconButton(b->Element->Action)) iconButton = b.get();
  ASSERT_NE(iconButton, nullptr) << "the skin shows an icon button on a single-framed form";
  Surface shot = CaptureSettled(form.Handle());
  int greenPixels = 0;
  for (int y = iconButton->Bounds.top; y < iconButton->Bounds.top + size; ++y)
    for (int x = iconButton->Bounds.left; x < iconButton->Bounds.left + size; ++x)
      greenPixels += SameColour(shot.At(x, y), 0x00C000);
  EXPECT_GE(greenPixels, size * size - 2 * size) << "the application's icon in the caption";
  SendMessageA(Application().Handle(), WM_SETICON, ICON_SMALL, 0);
}

TEST_F(SkinPaths, AnAltLetterNoItemOfTheFormHasOpensTheMainFormsBarItem) {
  ActiveSkinData();
  MenuGallery main = CreateMenuGallery();
  ASSERT_EQ(Application().MainForm(), main.form);
  ASSERT_TRUE(ShowAndAwaitSkin(*main.form));
  TForm& other = MakeForm(400, 100);
  TEdit& edit = PlaceOn<TEdit>(other, nullptr, 10, 10, 200, 21);
  ASSERT_TRUE(ShowAndAwaitSkin(other));
  TWinSkinMenu* bar = TSkinManage::Instance()->FindFormSkin(main.form->Handle())->MenuBar();
  ASSERT_NE(bar, nullptr);
  SetForegroundWindow(other.Handle());
  SetFocus(edit.Handle());
  Pump();

  // Alt+E in the other form's edit: the main form's Edit menu opens.
  g_openBar = bar;
  g_opened = -1;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, NoteOpenItem);
  keybd_event(VK_MENU, 0, 0, 0);
  keybd_event('E', 0, 0, 0);
  keybd_event('E', 0, KEYEVENTF_KEYUP, 0);
  keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
  PumpUntil([&] { return g_opened >= 0; }, 3000);
  KillTimer(nullptr, timer);
  Pump();
  EXPECT_EQ(g_opened, 1) << "the main form's second item";

  // A form the main form waits on (the main form disabled behind it) keeps
  // its letters; once the main form is enabled they go on again.
  // Alt held in the thread's key state only: a real Alt alone would open
  // the window menu when it goes up.
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_MENU] = 0x80;
  SetKeyboardState(keys);
  EnableWindow(main.form->Handle(), FALSE);
  EXPECT_EQ(other.Perform(CM_DIALOGCHAR, 'v', 0), 0);
  EnableWindow(main.form->Handle(), TRUE);
  EXPECT_EQ(other.Perform(CM_DIALOGCHAR, 'v', 0), 1);
  MSG posted{};
  EXPECT_TRUE(PeekMessageA(&posted, main.form->Handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
  EXPECT_EQ(posted.lParam, 'v');
  keys[VK_MENU] = 0;
  SetKeyboardState(keys);
}

TEST_F(SkinPaths, ControlsNoRuleWalksAreReachedThroughTheTabOrder) {
  TSkinData& data = ActiveSkinData();
  TForm& form = MakeForm(100, 100);
  // A panel left plain on purpose: its own controls are still skinned.
  TPanel& plain = PlaceOn<TPanel>(form, nullptr, 10, 10, 200, 100);
  plain.Tag = data.DisableTag;
  TButton& inside = PlaceOn<TButton>(form, &plain, 10, 10, 90, 25);
  inside.SetCaption("Inside");
  ASSERT_TRUE(ShowAndAwaitSkin(form));
  EXPECT_EQ(SkinOf<TSkinControl>(plain), nullptr);
  EXPECT_NE(SkinOf<TSkinButton>(inside), nullptr);
  EXPECT_EQ(SendMessageA(inside.Handle(), WM_SKINQUERY, 0, 0), 1);
}

}  // namespace
}  // namespace corvane
