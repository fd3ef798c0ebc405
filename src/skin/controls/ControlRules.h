// Which skinning object a control gets: the control class rules for the
// framework's controls, the kinds of the skin component's third-party class
// list, and the window class rules for bare child windows (system dialogs).
// Portable: the facts about a control come in as plain values, so the rules
// are tested natively; the Windows half turns a decision into an object.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinOptions.h"

namespace corvane {

// The skinning objects the rules can name. Families not built yet are named
// all the same, so the rules stay whole; the Windows half leaves a control
// whose kind it cannot make plain.
enum class ControlSkinKind {
  None,
  Button,
  BitButton,
  MenuButton,
  SpeedButton,
  CheckBox,
  RadioButton,
  GroupBox,
  Box,
  BoxH,
  Sizer,
  StatusBar,
  Header,
  Scrollbar,
  ListView,
  ScControl,
  Edit,
  ComboBox,
  DateTime,
  Tab,
  Tab31,
  TabBtn,
  TabSheet,
  AdvPage,
  Progress,
  TrackBar,
  UpDown,
  MediaPlayer,
  ObjImage,
  ToolBar,
  BandBar,
};

// What to do with one control.
struct ControlRule {
  // False when no rule applied (the control stays plain and nothing else
  // happens); true when a rule ended the chain, even with kind None.
  bool matched = false;
  ControlSkinKind kind = ControlSkinKind::None;
  // The object gives the control the skin's face colour while attached.
  bool setsColour = false;
  // Mode handed to the object (single-bar scroll bars, image modes, png glyphs).
  int mode = 0;
  // Run the rules on the control's children first (containers).
  bool walkChildren = false;
  // Run the rules on the components the control owns (forms inside forms).
  bool walkOwned = false;
  // Every child control gets this kind instead of running the rules
  // (radio and check groups).
  ControlSkinKind childKind = ControlSkinKind::None;
  // Set the control's property "Transparent" to "True" first.
  bool setTransparent = false;
  // A combo box of the extended kind (its field is a child window).
  bool extendedCombo = false;
  // Glyph property of png buttons ("PngImage"); empty: "Glyph".
  std::string glyphProperty;
  // The control's own menu goes to the form skin's menu painting. This
  // holds whether or not a row matched: a control that carries a menu is
  // still skinned by its own kind.
  bool handsMenu = false;
  friend bool operator==(const ControlRule&, const ControlRule&) = default;
};

// The facts the rules read about one framework control.
struct ControlFacts {
  // The class name, upper-cased.
  std::string upperClass;
  // Inheritance query by framework class name ("TCustomPanel").
  std::function<bool(std::string_view)> inheritsFrom;
  bool windowed = false;
  // WS_HSCROLL or WS_VSCROLL in the window style.
  bool scrollStyle = false;
  // The skin has a Tabs element.
  bool tabsElement = false;
  // The window rectangle differs from the client rectangle (a border).
  bool hasBorder = false;
  // The control's property "Style" as text (tab controls: "tsTabs" or a
  // button style).
  std::string styleProperty;
  // The control's property "Kind" as text, and "NumButtons" (-1 absent).
  std::string kindProperty;
  int numButtons = -1;
  // A date-time control in its up-down form (no drop-down button), which
  // is framed as an edit.
  bool dateTimeAsField = false;
  // The byte property "TabKind" of a tabbed panel (0 a page with its own
  // windowless controls, 1 buttons, 2 bare tabs); -1 absent.
  int tabKind = -1;
  // The control carries a menu it owns itself (its "PopupMenu"); a form's
  // own menus reach the skin with the form.
  bool ownMenu = false;
};

// The control kind of the first Skin3rd line that begins with the class
// name and "=" (case-insensitive), lower-cased and cut to 50 characters;
// nothing when no line matches. A class whose name is a prefix of a listed
// one does not match that line.
std::optional<std::string> FindSkin3rdKind(const std::vector<std::string>& lines,
                                           std::string_view className);

// What a Skin3rd kind does for a control (the chain always ends there).
ControlRule Skin3rdRule(std::string_view kind, const ControlFacts& facts, TSkinControlTypes gates);

// The control class rules after the Skin3rd list, first applicable row
// first. A row applies when its test and its gate both hold. A tab skin in
// mode 2 paints the control's windowless children over its page.
ControlRule ControlClassRule(const ControlFacts& facts, TSkinControlTypes gates);

// The window class rules for a bare child window.
struct WindowRule {
  ControlSkinKind kind = ControlSkinKind::None;
  // Apply the rules to the window's own children first.
  bool walkChildren = false;
  // The framework control owning the window (if any) gets the face colour.
  bool colourOwner = false;
  // Attach to the window's first child instead of the window itself.
  bool attachFirstChild = false;
  friend bool operator==(const WindowRule&, const WindowRule&) = default;
};
WindowRule WindowClassRule(std::string_view lowerClass, unsigned style, TSkinControlTypes gates);

// Lower-case and upper-case copies of ASCII text (class names).
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);

}  // namespace corvane
