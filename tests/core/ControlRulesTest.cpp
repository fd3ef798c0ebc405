// The rules that choose a control's skinning object: the third-party class
// list, the control class rules in their order and with their gates, and the
// window class rules for bare child windows.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "skin/controls/ControlRules.h"

namespace corvane {
namespace {

using K = ControlSkinKind;

const TSkinControlTypes kAll = AllControlTypesExcept({});

// Facts of a framework control whose class chain is the given names.
ControlFacts Facts(std::set<std::string> chain, bool windowed = true) {
  ControlFacts f;
  f.upperClass = AsciiUpper(*chain.begin());
  f.inheritsFrom = [chain](std::string_view n) { return chain.count(std::string(n)) > 0; };
  f.windowed = windowed;
  return f;
}

TEST(Skin3rdList, MatchesTheWholeClassNameFollowedByEqualsIgnoringCase) {
  std::vector<std::string> lines{"TCategoryButtons=scrollbar", "TPngBitBtn=PngBitBtn",
                                 "TDBCheckboxEh=Checkbox",     "TButtonX=nil",
                                 "TPngBitBtn=button",          "TLong=" + std::string(60, 'k')};
  struct Case {
    const char* cls;
    std::optional<std::string> kind;
  } cases[] = {
      {"TCategoryButtons", "scrollbar"},
      {"tcategorybuttons", "scrollbar"},
      {"TPngBitBtn", "pngbitbtn"},  // the first line wins
      {"TDBCheckboxEh", "checkbox"},
      {"TButtonX", "nil"},
      {"TButton", std::nullopt},  // a prefix of a listed class
      {"TCategory", std::nullopt},
      {"TCategoryButtonsEx", std::nullopt},
      {"", std::nullopt},
      {"TLong", std::string(50, 'k')},
  };
  for (const Case& c : cases) EXPECT_EQ(FindSkin3rdKind(lines, c.cls), c.kind) << c.cls;
}

TEST(Skin3rdList, KindsAttachTheirObjectOnlyThroughTheirGate) {
  ControlFacts f = Facts({"TSomeControl"});
  struct Case {
    const char* kind;
    TSkinControlType gate;
    K expected;
  } cases[] = {
      {"button", xcButton, K::Button},
      {"bitbtn", xcButton, K::BitButton},
      {"menubtn", xcButton, K::MenuButton},
      {"speedbutton", xcSpeedButton, K::SpeedButton},
      {"checkbox", xcCheckBox, K::CheckBox},
      {"radiobutton", xcRadioButton, K::RadioButton},
      {"groupbox", xcGroupBox, K::GroupBox},
      {"combobox", xcCombo, K::ComboBox},
      {"progress", xcProgress, K::Progress},
      {"trackbar", xcButton, K::TrackBar},
      {"panel", xcPanel, K::Box},
      {"mediaplayer", xcButton, K::MediaPlayer},
  };
  for (const Case& c : cases) {
    ControlRule on = Skin3rdRule(c.kind, f, kAll);
    EXPECT_TRUE(on.matched) << c.kind;
    EXPECT_EQ(on.kind, c.expected) << c.kind;
    TSkinControlTypes without = kAll;
    without.Exclude(c.gate);
    ControlRule off = Skin3rdRule(c.kind, f, without);
    EXPECT_TRUE(off.matched) << c.kind << ": a closed gate still ends the rules";
    EXPECT_EQ(off.kind, K::None) << c.kind;
  }
  for (const char* plain : {"nil", "unknownkind", ""}) {
    ControlRule r = Skin3rdRule(plain, f, kAll);
    EXPECT_TRUE(r.matched);
    EXPECT_EQ(r.kind, K::None) << plain;
  }
}

TEST(Skin3rdList, SpecialKinds) {
  ControlFacts f = Facts({"TSomeControl"});
  EXPECT_EQ(Skin3rdRule("edit", f, kAll).kind, K::None) << "an edit without a border stays plain";
  f.hasBorder = true;
  EXPECT_EQ(Skin3rdRule("edit", f, kAll).kind, K::Edit);
  ControlRule panel = Skin3rdRule("panel", f, kAll);
  EXPECT_TRUE(panel.setTransparent && panel.setsColour);
  EXPECT_EQ(Skin3rdRule("pngbitbtn", f, kAll).glyphProperty, "PngImage");
  EXPECT_EQ(Skin3rdRule("singlescrollbar", f, kAll).mode, 1);
  EXPECT_TRUE(Skin3rdRule("container", f, kAll).walkChildren);
  ControlFacts cx = Facts({"TcxButton"});
  cx.kindProperty = "cxbkDropDownButton";
  EXPECT_EQ(Skin3rdRule("bitbtn", cx, kAll).kind, K::MenuButton);
  ControlRule group = Skin3rdRule("radiogroup", f, kAll);
  EXPECT_EQ(group.kind, K::GroupBox);
  EXPECT_EQ(group.childKind, K::RadioButton);
  EXPECT_EQ(Skin3rdRule("checkgroup", f, kAll).childKind, K::CheckBox);
  ControlRule rz = Skin3rdRule("radiogroup", Facts({"TRzRadioGroup"}), kAll);
  EXPECT_EQ(rz.childKind, K::ObjImage);
  EXPECT_EQ(rz.mode, 2);
  TSkinControlTypes noGroup = kAll;
  noGroup.Exclude(xcGroupBox);
  ControlRule ended;
  ended.matched = true;
  EXPECT_EQ(Skin3rdRule("radiogroup", f, noGroup), ended);
}

TEST(ControlClassRules, TheFrameworksFamiliesGetTheirObjects) {
  struct Case {
    std::set<std::string> chain;
    K kind;
    bool walkChildren;
    bool setsColour;
  } cases[] = {
      {{"TButton", "TWinControl"}, K::Button, false, false},
      {{"TBitBtn", "TButton"}, K::BitButton, false, false},
      {{"TSpeedButton", "TGraphicControl"}, K::SpeedButton, false, false},
      {{"TCheckBox", "TCustomCheckBox"}, K::CheckBox, false, false},
      {{"TRadioButton"}, K::RadioButton, false, false},
      {{"TGroupBox", "TCustomGroupBox"}, K::GroupBox, true, false},
      {{"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"}, K::GroupBox, false, true},
      {{"TPanel", "TCustomPanel"}, K::Box, true, true},
      {{"TStatusBar", "TCustomStatusBar"}, K::StatusBar, false, false},
      {{"THeaderControl"}, K::Header, false, false},
      {{"TListBox", "TCustomListBox"}, K::Scrollbar, false, false},
      {{"TEdit", "TCustomEdit"}, K::Edit, false, false},
      {{"TMemo", "TCustomEdit"}, K::Edit, false, false},
      {{"THotKey"}, K::Edit, false, false},
      {{"TComboBox", "TCustomComboBox"}, K::ComboBox, false, false},
      {{"TScrollBar"}, K::ScControl, false, false},
      {{"TListView", "TCustomListView"}, K::ListView, false, false},
      {{"TDateTimePicker"}, K::DateTime, false, false},
      {{"TToolBar", "TWinControl"}, K::ToolBar, false, false},
      {{"TCoolBar", "TWinControl"}, K::BandBar, true, false},
  };
  for (const Case& c : cases) {
    ControlRule r = ControlClassRule(Facts(c.chain), kAll);
    EXPECT_TRUE(r.matched) << *c.chain.begin();
    EXPECT_EQ(r.kind, c.kind) << *c.chain.begin();
    EXPECT_EQ(r.walkChildren, c.walkChildren) << *c.chain.begin();
    EXPECT_EQ(r.setsColour, c.setsColour) << *c.chain.begin();
  }
  EXPECT_EQ(ControlClassRule(Facts({"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"}), kAll)
                .childKind,
            K::RadioButton);
  // A memo with bars is a scrolling control first; a combo box (whose style
  // carries its list's bar) and a list view keep their own rows; a time
  // field without a drop-down is framed as an edit.
  auto scrolling = [](std::set<std::string> chain) {
    ControlFacts f = Facts(std::move(chain));
    f.scrollStyle = true;
    return f;
  };
  EXPECT_EQ(ControlClassRule(scrolling({"TMemo", "TCustomEdit"}), kAll).kind, K::Scrollbar);
  EXPECT_EQ(ControlClassRule(scrolling({"TComboBox", "TCustomComboBox"}), kAll).kind, K::ComboBox);
  EXPECT_EQ(ControlClassRule(scrolling({"TListView", "TCustomListView"}), kAll).kind, K::ListView);
  ControlFacts time = Facts({"TDateTimePicker"});
  time.dateTimeAsField = true;
  EXPECT_EQ(ControlClassRule(time, kAll).kind, K::Edit);
  EXPECT_EQ(Skin3rdRule("comboboxex", Facts({"TComboboxex"}), kAll).extendedCombo, true);
  // A frame gets nothing itself; its own controls are walked.
  ControlRule frame = ControlClassRule(Facts({"TFrame", "TCustomFrame", "TWinControl"}), kAll);
  EXPECT_TRUE(frame.matched);
  EXPECT_EQ(frame.kind, K::None);
  EXPECT_TRUE(frame.walkOwned);
  // Labels and images get no object at all.
  EXPECT_FALSE(ControlClassRule(Facts({"TLabel", "TGraphicControl"}, false), kAll).matched);
  EXPECT_FALSE(ControlClassRule(Facts({"TImage", "TGraphicControl"}, false), kAll).matched);
}

TEST(ControlClassRules, AClosedGateFallsThroughToTheLaterRows) {
  TSkinControlTypes noButtons = kAll;
  noButtons.Exclude(xcButton);
  EXPECT_FALSE(ControlClassRule(Facts({"TButton"}), noButtons).matched);
  // A bitmap button without its gate ends the chain: it never becomes a
  // push button.
  TSkinControlTypes noBitBtn = kAll;
  noBitBtn.Exclude(xcBitBtn);
  ControlRule r = ControlClassRule(Facts({"TBitBtn", "TButton"}), noBitBtn);
  EXPECT_TRUE(r.matched);
  EXPECT_EQ(r.kind, K::None);
  // A group box is gated by xcPanel, not xcGroupBox.
  TSkinControlTypes noGroup = kAll;
  noGroup.Exclude(xcGroupBox);
  EXPECT_EQ(ControlClassRule(Facts({"TGroupBox", "TCustomGroupBox"}), noGroup).kind, K::GroupBox);
  TSkinControlTypes noPanel = kAll;
  noPanel.Exclude(xcPanel);
  EXPECT_FALSE(ControlClassRule(Facts({"TGroupBox", "TCustomGroupBox"}), noPanel).matched);
  // Tool bars and band containers are gated by xcToolbar; without it the
  // bars stay plain and the band container's controls are not walked.
  TSkinControlTypes noToolbar = kAll;
  noToolbar.Exclude(xcToolbar);
  EXPECT_FALSE(ControlClassRule(Facts({"TToolBar", "TWinControl"}), noToolbar).matched);
  EXPECT_FALSE(ControlClassRule(Facts({"TCoolBar", "TWinControl"}), noToolbar).matched);
  // A scrolling window of any class goes to the scroll bars.
  ControlFacts scrolling = Facts({"TButton"});
  scrolling.scrollStyle = true;
  EXPECT_EQ(ControlClassRule(scrolling, kAll).kind, K::Scrollbar);
}

TEST(ControlClassRules, NamedForeignClasses) {
  struct Case {
    const char* cls;
    K kind;
    int mode;
  } cases[] = {
      {"TUpDown", K::UpDown, 0},           {"TSpinButton", K::UpDown, 0},
      {"TMediaPlayer", K::MediaPlayer, 0}, {"TRzCheckBox", K::ObjImage, 1},
      {"TRzRadioButton", K::ObjImage, 2},  {"TcxCheckBox", K::ObjImage, 3},
      {"TTntComboBox", K::ComboBox, 0},    {"TRichEdit", K::Scrollbar, 0},
      {"TDBComboBoxEh", K::None, 0},
  };
  for (const Case& c : cases) {
    ControlRule r = ControlClassRule(Facts({c.cls}), kAll);
    EXPECT_TRUE(r.matched) << c.cls;
    EXPECT_EQ(r.kind, c.kind) << c.cls;
    EXPECT_EQ(r.mode, c.mode) << c.cls;
  }
  // Tab classes need the skin's Tabs element.
  ControlFacts tabSet = Facts({"TTabSet"});
  EXPECT_FALSE(ControlClassRule(tabSet, kAll).matched);
  tabSet.tabsElement = true;
  EXPECT_EQ(ControlClassRule(tabSet, kAll).kind, K::Tab31);
  ControlFacts dc = Facts({"TDCEdit"});
  dc.numButtons = 1;
  EXPECT_EQ(ControlClassRule(dc, kAll).kind, K::ComboBox);
  dc.numButtons = 0;
  EXPECT_EQ(ControlClassRule(dc, kAll).kind, K::Edit);
  ControlRule inner = ControlClassRule(Facts({"TInnerForm", "TCustomForm"}), kAll);
  EXPECT_TRUE(inner.walkOwned);
  EXPECT_EQ(inner.kind, K::Box);
}

TEST(ControlClassRules, ATabbedPanelIsDrawnByItsKind) {
  // Kind 0 keeps its windowless controls painted over the page (mode 2);
  // the tab-control row after it would choose by "Style" instead.
  struct Case {
    int tabKind;
    bool tabsElement;
    bool tabGate;
    bool matched;
    K kind;
    int mode;
  } cases[] = {
      {0, true, true, true, K::Tab, 2},
      {1, true, true, true, K::TabBtn, 0},
      {2, true, true, true, K::Tab, 0},
      {7, true, true, true, K::Tab, 0},
      {0, false, true, false, K::None, 0},  // no Tabs picture: the system's tabs
      {1, true, false, false, K::None, 0},
      {-1, true, true, true, K::TabBtn, 0},  // no kind: the tab-control row, by "Style"
  };
  for (const Case& c : cases) {
    ControlFacts f = Facts({"TTabbedPanel", "TCustomTabControl"});
    f.tabKind = c.tabKind;
    f.tabsElement = c.tabsElement;
    f.styleProperty = "tsButtons";
    TSkinControlTypes gates = c.tabGate ? kAll : AllControlTypesExcept({xcTab});
    ControlRule r = ControlClassRule(f, gates);
    EXPECT_EQ(r.matched, c.matched) << c.tabKind;
    EXPECT_EQ(r.kind, c.kind) << c.tabKind;
    EXPECT_EQ(r.mode, c.mode) << c.tabKind;
  }
}

TEST(ControlClassRules, AControlsOwnMenuGoesToTheMenuPaintingAndTheChainGoesOn) {
  struct Case {
    std::set<std::string> chain;
    bool windowed;
    bool ownMenu;
    bool popupGate;
    bool handsMenu;
    K kind;
  } cases[] = {
      {{"TButton"}, true, true, true, true, K::Button},
      {{"TButton"}, true, false, true, false, K::Button},
      {{"TButton"}, true, true, false, false, K::Button},
      // A windowless control that no row skins still hands its menu over.
      {{"TLabel", "TGraphicControl"}, false, true, true, true, K::None},
      {{"TPanel", "TCustomPanel"}, true, true, true, true, K::Box},
  };
  for (const Case& c : cases) {
    ControlFacts f = Facts(c.chain, c.windowed);
    f.ownMenu = c.ownMenu;
    ControlRule r = ControlClassRule(f, c.popupGate ? kAll : AllControlTypesExcept({xcPopupMenu}));
    EXPECT_EQ(r.handsMenu, c.handsMenu) << *c.chain.begin();
    EXPECT_EQ(r.kind, c.kind) << *c.chain.begin();
  }
}

TEST(WindowClassRules, ButtonStylesAndDialogClasses) {
  struct Case {
    const char* cls;
    unsigned style;
    WindowRule rule;
  } cases[] = {
      {"button", 0x0, {K::Button}},       // BS_PUSHBUTTON
      {"button", 0x1, {K::Button}},       // BS_DEFPUSHBUTTON
      {"button", 0x2, {K::CheckBox}},     // BS_CHECKBOX
      {"button", 0x3, {K::CheckBox}},     // BS_AUTOCHECKBOX
      {"button", 0x5, {K::CheckBox}},     // BS_3STATE
      {"button", 0x6, {K::CheckBox}},     // BS_AUTO3STATE has bit 2
      {"button", 0x4, {K::RadioButton}},  // BS_RADIOBUTTON
      {"button", 0x9, {K::RadioButton}},  // BS_AUTORADIOBUTTON
      {"button", 0x7, {}},                // BS_GROUPBOX
      {"button", 0x80, {}},               // BS_BITMAP
      {"button", 0xB, {}},                // BS_OWNERDRAW falls through
      {"scrollbar", 0x10, {K::Sizer}},
      {"scrollbar", 0x10000, {}},
      {"#32770", 0, {K::BoxH, true}},
      {"#32770", 0x10000, {}},
      {"combobox", 0x1, {}},  // a simple combo
      {"combobox", 0x2, {K::ComboBox}},
      {"comboboxex32", 0, {K::ComboBox, false, false, true}},
      {"tpanel", 0, {K::None, true, true}},
      {"tsilentpaintpanel", 0, {K::None, false, true}},
      {"systabcontrol32", 0, {K::Tab}},
      {"systabcontrol32", 0x2000, {}},
      {"toolbarwindow32", 0, {K::BoxH}},
      {"edit", 0, {K::Edit}},
      {"msctls_hotkey32", 0, {K::Edit}},
      {"static", 0, {}},
      {"systreeview32", 0, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WindowClassRule(c.cls, c.style, kAll), c.rule) << c.cls << " " << c.style;
  TSkinControlTypes noButtons = kAll;
  noButtons.Exclude(xcButton);
  EXPECT_EQ(WindowClassRule("button", 0, noButtons), WindowRule{});
}

}  // namespace
}  // namespace corvane
