// The skin gallery: one skinned form showing every kind of control the skin
// engine skins, each in its states (enabled, disabled, default, checked,
// down, flat), for looking at a skin and for the tests' screenshots. It
// loads the program's stored skin, or the .skn file named on its command
// line. Built with the Windows programs; never shipped.
#include "core/Geometry.h"

#include <windows.h>

#include <shellapi.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/Buttons.h"
#include "framework/CheckBoxes.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Panels.h"
#include "framework/StdCtrls.h"
#include "FieldGallery.h"
#include "BarGallery.h"
#include "MdiGallery.h"
#include "MenuGallery.h"
#include "RangeGallery.h"
#include "TabGallery.h"
#include "skin/data/WinBitmapUtils.h"
#include "skin/data/WinSkinData.h"
#include "skin/data/WinStoredSkin.h"

namespace corvane {
namespace {

// The skin file named on the command line, or empty.
std::string SkinFileArgument() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  std::string path;
  if (args && count > 1) {
    int n = WideCharToMultiByte(CP_ACP, 0, args[1], -1, nullptr, 0, nullptr, nullptr);
    path.resize(static_cast<std::size_t>(n > 0 ? n - 1 : 0));
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, args[1], -1, path.data(), n, nullptr, nullptr);
  }
  if (args) LocalFree(args);
  return path;
}

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A glyph strip of two 16 x 16 parts (normal, disabled): a diamond on the
// see-through colour of its bottom-left pixel.
Surface DiamondGlyph() {
  Surface glyph(32, 16, PixelFromColour(kColourKey));
  for (int part = 0; part < 2; ++part)
    for (int y = 2; y < 14; ++y)
      for (int x = 2; x < 14; ++x)
        if (std::abs(x - 8) + std::abs(y - 8) <= 5)
          glyph.At(part * 16 + x, y) =
              PixelFromColour(part == 0 ? Rgb(40, 110, 200) : Rgb(150, 150, 150));
  return glyph;
}

class TGalleryForm : public TForm {
  CORVANE_CLASS(TGalleryForm, TForm)

 public:
  explicit TGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "Gallery";
    SetBorderStyle(TFormBorderStyle::bsSingle);
    BorderIcons = biSystemMenu | biMinimize;
    // Side by side with the gallery's other forms.
    Position = TPosition::poDesigned;
    SetCaption("Skin gallery");
    SetBounds(10, 10, 640, 460);
    SetClientSize(620, 420);

    // Push buttons.
    TGroupBox* buttons = Box(this, 8, 6, 300, 130, "Buttons");
    Place<TButton>(buttons, 12, 20, 80, 23, "Normal");
    Place<TButton>(buttons, 104, 20, 80, 23, "Default")->SetDefault(true);
    Place<TButton>(buttons, 196, 20, 80, 23, "Disabled")->SetEnabled(false);
    Place<TButton>(buttons, 12, 52, 80, 36, "Two||lines");
    TBitBtn* bit = Place<TBitBtn>(buttons, 104, 52, 80, 36, "Glyph");
    bit->Glyph = DiamondGlyph();
    bit->NumGlyphs = 2;
    TBitBtn* bitOff = Place<TBitBtn>(buttons, 196, 52, 80, 36, "Glyph off");
    bitOff->Glyph = DiamondGlyph();
    bitOff->NumGlyphs = 2;
    bitOff->SetEnabled(false);
    Place<TSpeedButton>(buttons, 12, 96, 60, 24, "Speed");
    TSpeedButton* down = Place<TSpeedButton>(buttons, 80, 96, 60, 24, "Down");
    down->GroupIndex = 1;
    down->SetDown(true);
    Place<TSpeedButton>(buttons, 148, 96, 60, 24, "Flat")->Flat = true;
    Place<TSpeedButton>(buttons, 216, 96, 60, 24, "Off")->SetEnabled(false);

    // Check boxes and radio buttons.
    TGroupBox* checks = Box(this, 316, 6, 296, 130, "Check boxes and radio buttons");
    Place<TCheckBox>(checks, 12, 20, 130, 17, "Unchecked");
    Place<TCheckBox>(checks, 12, 40, 130, 17, "Checked")->SetChecked(true);
    TCheckBox* grey = Place<TCheckBox>(checks, 12, 60, 130, 17, "Greyed",
                                       [](TCheckBox& c) { c.AllowGrayed = true; });
    grey->SetState(TCheckBoxState::cbGrayed);
    Place<TCheckBox>(checks, 12, 80, 130, 17, "Disabled")->SetEnabled(false);
    TCheckBox* checkedOff = Place<TCheckBox>(checks, 12, 100, 130, 17, "Checked, disabled");
    checkedOff->SetChecked(true);
    checkedOff->SetEnabled(false);
    Place<TRadioButton>(checks, 156, 20, 130, 17, "Radio");
    Place<TRadioButton>(checks, 156, 40, 130, 17, "Radio, checked")->SetChecked(true);
    Place<TRadioButton>(checks, 156, 60, 130, 17, "Radio, disabled")->SetEnabled(false);
    Place<TCheckBox>(checks, 156, 80, 130, 17, "Text on the left",
                     [](TCheckBox& c) { c.LeftText = true; });

    // Containers.
    TRadioGroup* group = Place<TRadioGroup>(this, 8, 142, 150, 84, "Radio group");
    group->SetItems({"First", "Second", "Third"});
    group->SetItemIndex(1);
    TGroupBox* plainBox = Box(this, 166, 142, 142, 84, "");
    Place<TLabel>(plainBox, 12, 34, 0, 0, "No caption here");
    TPanel* panel = Place<TPanel>(this, 316, 142, 296, 84, "Panel");
    Place<TButton>(panel, 10, 50, 80, 23, "In a panel");
    TBevel* bevel = Place<TBevel>(panel, 200, 10, 86, 64);
    (void)bevel;

    // Header and status bar.
    // An image on a text item and on an item its owner draws.
    TImageList& headerImages = Create<TImageList>();
    headerImages.AddIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION)));
    THeaderControl* header = Place<THeaderControl>(this, 8, 236, 604, 20);
    header->SetImages(&headerImages);
    header->OnDrawSection = [](THeaderControl&, int, HDC dc, const RECT& rect, bool) {
      RECT text = rect;
      SetBkMode(dc, TRANSPARENT);
      DrawTextA(dc, "Drawn by its owner", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    };
    header->SetSections({{"Name", 200, TAlignment::taLeftJustify, 0},
                         {"Size", 100, TAlignment::taRightJustify},
                         {"Kind", 150, TAlignment::taCenter, 0, THeaderSectionStyle::hsOwnerDraw}});
    Place<TLabel>(this, 12, 266, 0, 0, "Move the mouse over the header and the buttons.");
    TStatusBar* bar = Place<TStatusBar>(this, 0, 398, 620, 22, {}, [](TStatusBar& b) {
      b.AutoHint = false;
      b.SizeGrip = true;
      b.SimplePanel = false;
    });
    bar->SetPanels({{"Raised panel", 150, TStatusPanelBevel::pbRaised},
                    {"Lowered panel", 150, TStatusPanelBevel::pbLowered},
                    {"No bevel", 120, TStatusPanelBevel::pbNone},
                    {"Last panel", 100}});
    TStatusBar* simple =
        Place<TStatusBar>(this, 0, 372, 620, 22, {}, [](TStatusBar& b) { b.AutoHint = false; });
    simple->SetSimpleText("A simple status bar");

    SkinData1 = &Create<TSkinData>();
    SkinData1->BeginReading();
    SkinData1->SetActive(true);
    SkinData1->Options = {xoPreview, xoToolbarBK, xoCaptionButtonHint};
    std::vector<std::string> classes = SkinData1->Skin3rd();
    classes.push_back(kImagePageControlKind);
    SkinData1->SetSkin3rd(classes);
    std::string file = SkinFileArgument();
    if (file.empty()) {
      StoredSkinResources stored = LoadStoredSkinResources();
      SkinData1->SetSkinStream(std::move(stored.stream), std::move(stored.scaledSets));
    } else {
      SkinData1->SetSkinStream(ReadFile(file));
    }
  }

  TSkinData* SkinData1 = nullptr;

 private:
  // prepare sets what the control's window is made with, before it exists.
  template <typename T>
  T* Place(TWinControl* parent, int left, int top, int width, int height,
           const std::string& caption = {}, const std::function<void(T&)>& prepare = {}) {
    T& control = Create<T>();
    control.SetBounds(left, top, width, height);
    if (!caption.empty()) control.SetCaption(caption);
    if (prepare) prepare(control);
    control.SetParent(parent);
    return &control;
  }
  TGroupBox* Box(TWinControl* parent, int left, int top, int width, int height,
                 const std::string& caption) {
    return Place<TGroupBox>(parent, left, top, width, height, caption);
  }
};

}  // namespace
}  // namespace corvane

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace corvane;
  TApplication& app = Application();
  app.Initialize();
  app.SetTitle("Skin gallery");
  app.CreateForm<TGalleryForm>();
  CreateFieldGallery();
  CreateRangeGalleryForm();
  CreateMenuGallery();
  CreateTabGalleryForm();
  CreateBarGallery();
  CreateMdiGallery();
  app.Run();
  ResetApplication();
  return 0;
}
