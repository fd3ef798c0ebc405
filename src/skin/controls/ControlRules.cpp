#include "skin/controls/ControlRules.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

#include "core/Utf8.h"

namespace corvane {

namespace {

using K = ControlSkinKind;

ControlRule Attach(K kind, bool setsColour = false) {
  ControlRule r;
  r.matched = true;
  r.kind = kind;
  r.setsColour = setsColour;
  return r;
}

ControlRule Ended() {
  ControlRule r;
  r.matched = true;
  return r;
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool Is(const ControlFacts& f, std::string_view frameworkClass) {
  return f.inheritsFrom && f.inheritsFrom(frameworkClass);
}

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string AsciiUpper(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::optional<std::string> FindSkin3rdKind(const std::vector<std::string>& lines,
                                           std::string_view className) {
  if (className.empty()) return std::nullopt;
  const std::string prefix = AsciiLower(className) + "=";
  for (const std::string& line : lines) {
    std::string lower = AsciiLower(line);
    if (lower.compare(0, prefix.size(), prefix) != 0) continue;
    std::size_t eq = line.find('=');
    return AsciiLower(CutToCharacters(std::string_view(line).substr(eq + 1), 50));
  }
  return std::nullopt;
}

ControlRule Skin3rdRule(std::string_view kind, const ControlFacts& f, TSkinControlTypes gates) {
  auto gated = [&](TSkinControlType gate, ControlRule rule) {
    return gates.Contains(gate) ? rule : Ended();
  };
  if (kind == "combobox" || kind == "comboboxex") {
    ControlRule r = Attach(K::ComboBox);
    r.extendedCombo = kind == "comboboxex";
    return gated(xcCombo, r);
  }
  if (kind == "edit") return gated(xcEdit, f.hasBorder ? Attach(K::Edit) : Ended());
  if (kind == "radiobutton") return gated(xcRadioButton, Attach(K::RadioButton));
  if (kind == "panel") {
    ControlRule r = Attach(K::Box, true);
    r.setTransparent = true;
    return gated(xcPanel, r);
  }
  if (kind == "trackbar") {
    ControlRule r = Attach(K::TrackBar);
    r.setTransparent = true;
    return gated(xcButton, r);
  }
  if (kind == "button") return gated(xcButton, Attach(K::Button));
  if (kind == "datetimepicker") return gated(xcCombo, Attach(K::DateTime));
  if (kind == "mediaplayer") return gated(xcButton, Attach(K::MediaPlayer));
  if (kind == "bitbtn") {
    bool dropDown =
        f.upperClass == "TCXBUTTON" && AsciiLower(f.kindProperty) == "cxbkdropdownbutton";
    return gated(xcButton, Attach(dropDown ? K::MenuButton : K::BitButton));
  }
  if (kind == "pngbitbtn" || kind == "pngspeedbutton") {
    ControlRule r = Attach(kind == "pngbitbtn" ? K::BitButton : K::SpeedButton);
    r.glyphProperty = "PngImage";
    return gated(xcButton, r);
  }
  if (kind == "menubtn") return gated(xcButton, Attach(K::MenuButton));
  if (kind == "speedbutton") return gated(xcSpeedButton, Attach(K::SpeedButton));
  if (kind == "tab") return gates.Contains(xcTab) && f.tabsElement ? Attach(K::Tab) : Ended();
  if (kind == "progress") return gated(xcProgress, Attach(K::Progress));
  if (kind == "scrollbar") {
    ControlRule r = Attach(K::Scrollbar);
    r.walkChildren = true;
    return gated(xcScrollbar, r);
  }
  if (kind == "singlescrollbar") {
    ControlRule r = Attach(K::Scrollbar);
    r.mode = 1;
    return gated(xcScrollbar, r);
  }
  if (kind == "embedscrollbar") {
    // Each child is a scroll-bar control or a scrolling control: the rules
    // of those two kinds run on the children.
    ControlRule r = Ended();
    r.walkChildren = gates.Contains(xcScrollbar);
    return r;
  }
  if (kind == "container") {
    ControlRule r = Ended();
    r.walkChildren = true;
    return r;
  }
  if (kind == "groupbox") return gated(xcGroupBox, Attach(K::GroupBox));
  if (kind == "advpagecontrol") {
    ControlRule r = Attach(K::AdvPage, true);
    r.mode = 4;
    return gated(xcTab, r);
  }
  if (kind == "radiogroup" || kind == "checkgroup") {
    bool radio = kind == "radiogroup";
    if (!gates.Contains(radio ? xcGroupBox : xcPanel)) return Ended();
    ControlRule r = gates.Contains(xcGroupBox) ? Attach(K::GroupBox) : Ended();
    if (gates.Contains(xcRadioButton)) {
      bool foreign = f.upperClass.find("TRZ") != std::string::npos;
      r.childKind = foreign ? K::ObjImage : radio ? K::RadioButton : K::CheckBox;
      if (foreign) r.mode = radio ? 2 : 1;
    }
    return r;
  }
  if (kind == "checkbox") return gated(xcCheckBox, Attach(K::CheckBox));
  // "nil" and every kind this table does not know.
  return Ended();
}

namespace {

ControlRule ClassRow(const ControlFacts& f, TSkinControlTypes gates) {
  const std::string& c = f.upperClass;
  auto on = [&](TSkinControlType gate) { return gates.Contains(gate); };
  const bool tabs = on(xcTab) && f.tabsElement;

  if (IsOneOf(c, {"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"})) return Ended();
  if (c == "TTABSET" && tabs) return Attach(K::Tab31);
  if (c == "TTABBEDNOTEBOOK" && tabs) return Attach(K::Tab);
  if (c == "TMVCPANEL") {
    ControlRule r = Ended();
    r.walkChildren = true;
    return r;
  }
  if (IsOneOf(c, {"TUPDOWN", "TSPINBUTTON"}) && on(xcSpin)) return Attach(K::UpDown);
  if (c == "TMEDIAPLAYER" && on(xcButton)) return Attach(K::MediaPlayer);
  if (c == "TDBNAVIGATOR" && on(xcPanel)) {
    ControlRule r = Attach(K::Box, true);
    r.walkChildren = true;
    return r;
  }
  if (IsOneOf(c, {"TRZDBCHECKBOX", "TRZCHECKBOX"}) && on(xcCheckBox)) {
    ControlRule r = Attach(K::ObjImage);
    r.mode = 1;
    return r;
  }
  if (IsOneOf(c, {"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}) && on(xcRadioButton)) {
    ControlRule r = Attach(K::ObjImage);
    r.mode = 2;
    return r;
  }
  if (IsOneOf(c, {"TCXDBCHECKBOX", "TCXCHECKBOX"}) && on(xcCheckBox)) {
    ControlRule r = Attach(K::ObjImage);
    r.mode = 3;
    return r;
  }
  // The framework's own families that the chain tests between its named
  // rows. A radio group is a group box and a bitmap button a push button,
  // so these come before the group-box and push-button rows.
  // A tabbed panel is drawn by its kind: its page's own windowless
  // controls painted over the skinned page, a row of skinned buttons, or
  // bare skinned tabs.
  if (Is(f, "TTabbedPanel") && f.tabKind >= 0 && tabs) {
    if (f.tabKind == 1) return Attach(K::TabBtn);
    ControlRule r = Attach(K::Tab);
    if (f.tabKind == 0) r.mode = 2;
    return r;
  }
  if (Is(f, "TCustomRadioGroup") && on(xcRadioButton)) {
    ControlRule r = Attach(K::GroupBox, true);
    r.childKind = K::RadioButton;
    return r;
  }
  if (Is(f, "TBitBtn")) return on(xcBitBtn) ? Attach(K::BitButton) : Ended();
  if (Is(f, "TCoolBar") && on(xcToolbar)) {
    // The bands take the face colour; the controls they hold are skinned
    // by their own rows.
    ControlRule r = Attach(K::BandBar);
    r.walkChildren = true;
    return r;
  }
  if (Is(f, "TTabSheet") && tabs) return Attach(K::TabSheet);
  if (Is(f, "TCustomTabControl") && tabs)
    return Attach(f.styleProperty == "tsTabs" ? K::Tab : K::TabBtn);
  if (Is(f, "THeaderControl") && on(xcPanel)) return Attach(K::Header);
  if (Is(f, "TCustomCheckBox") && on(xcCheckBox)) return Attach(K::CheckBox);
  if (Is(f, "TTrackBar") && on(xcTrackBar)) return Attach(K::TrackBar);
  if (Is(f, "TRadioButton") && on(xcRadioButton)) return Attach(K::RadioButton);
  if (Is(f, "TToolBar") && on(xcToolbar)) return Attach(K::ToolBar);
  if (Is(f, "TProgressBar") && on(xcProgress)) return Attach(K::Progress);
  if (Is(f, "TScrollBar") && on(xcScrollbar)) return Attach(K::ScControl);
  if (Is(f, "TCustomComboBox") && on(xcCombo)) return Attach(K::ComboBox);
  if (Is(f, "TDateTimePicker") && on(xcEdit))
    return Attach(f.dateTimeAsField ? K::Edit : K::DateTime);
  if (Is(f, "TCustomListView") && on(xcScrollbar)) return Attach(K::ListView);

  if (Is(f, "TCustomGroupBox") && on(xcPanel)) {
    ControlRule r = Attach(K::GroupBox);
    r.walkChildren = true;
    return r;
  }
  if (Is(f, "TCustomStatusBar") && on(xcStatusBar)) return Attach(K::StatusBar);
  if (c == "TTNTCOMBOBOX" && on(xcCombo)) return Attach(K::ComboBox);
  if (IsOneOf(c, {"TRICHEDIT", "TWWDBRICHEDIT", "TDXDBMEMO"}) && on(xcScrollbar))
    return Attach(K::Scrollbar);
  if (Is(f, "TSpeedButton") && on(xcSpeedButton)) return Attach(K::SpeedButton);
  if (Is(f, "TCustomPanel") && on(xcPanel)) {
    ControlRule r = Attach(K::Box, true);
    r.walkChildren = true;
    return r;
  }
  if (IsOneOf(c, {"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}) && on(xcScrollbar))
    return Attach(K::Scrollbar);
  bool scrolls = (f.windowed && f.scrollStyle) || Is(f, "TListBox") || Is(f, "TCustomListBox");
  if (scrolls && on(xcScrollbar)) return Attach(K::Scrollbar);
  if (Is(f, "TButton") && on(xcButton)) return Attach(K::Button);
  if (Is(f, "TCustomEdit") && on(xcEdit)) return Attach(K::Edit);
  // The hot-key field is an edit field to the eye.
  if (Is(f, "THotKey") && on(xcEdit)) return Attach(K::Edit);
  // A frame holds its controls as its own components: they are walked as
  // a form's are, the frame itself keeps its look.
  if (Is(f, "TCustomFrame")) {
    ControlRule r = Ended();
    r.walkOwned = true;
    return r;
  }
  bool dcEdit = IsOneOf(c, {"TDCEDIT", "TDCDBEDIT"});
  if (!dcEdit && Is(f, "TCustomForm")) {
    ControlRule r = Attach(K::Box, true);
    r.walkOwned = true;
    return r;
  }
  if (dcEdit) {
    if (f.numButtons == 1 && on(xcCombo)) return Attach(K::ComboBox);
    if (f.numButtons == 0 && on(xcEdit)) return Attach(K::Edit);
  }
  return {};
}

}  // namespace

ControlRule ControlClassRule(const ControlFacts& f, TSkinControlTypes gates) {
  ControlRule r = ClassRow(f, gates);
  r.handsMenu = f.ownMenu && gates.Contains(xcPopupMenu);
  return r;
}

WindowRule WindowClassRule(std::string_view c, unsigned s, TSkinControlTypes gates) {
  auto gated = [&](TSkinControlType gate, ControlSkinKind kind) {
    WindowRule r;
    if (gates.Contains(gate)) r.kind = kind;
    return r;
  };
  if (c == "button" && (s & 0xB) != 0xB) {
    if ((s & 7) == 7 || (s & 0x80)) return {};
    if ((s & 3) == 3 || (s & 2) || (s & 5) == 5) return gated(xcCheckBox, K::CheckBox);
    if ((s & 9) == 9 || (s & 4)) return gated(xcRadioButton, K::RadioButton);
    return gated(xcButton, K::Button);
  }
  if (c == "combobox") return (s & 3) == 1 ? WindowRule{} : gated(xcCombo, K::ComboBox);
  if (c == "comboboxex32") {
    WindowRule r = gated(xcCombo, K::ComboBox);
    r.attachFirstChild = true;
    return r;
  }
  if (c == "scrollbar") return (s & 0x10000) ? WindowRule{} : WindowRule{K::Sizer};
  if (c == "systreeview32") return {};
  if (c == "#32770") return (s & 0x10000) ? WindowRule{} : WindowRule{K::BoxH, true};
  if (IsOneOf(c, {"tpanel", "ttntpanel.unicodeclass", "ttntsilentpaintpanel.unicodeclass"}))
    return {K::None, true, true};
  if (c == "tcheckbox") return gated(xcCheckBox, K::CheckBox);
  if (c == "tcombobox") return gated(xcCombo, K::ComboBox);
  if (c == "tbutton") return gated(xcButton, K::Button);
  if (c == "tprogressbar") return {K::Progress};
  if (c == "tsilentpaintpanel") return {K::None, false, true};
  if (c == "systabcontrol32") return (s & 0x2000) ? WindowRule{} : gated(xcTab, K::Tab);
  if (c == "toolbarwindow32") return {K::BoxH};
  if (c == "edit" || c == "msctls_hotkey32") return gated(xcEdit, K::Edit);
  return {};
}

}  // namespace corvane
