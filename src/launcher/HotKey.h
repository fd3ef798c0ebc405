// The global key combination that opens the link menu: its text as the store
// keeps it ("Ctrl+Alt+Space"), the combination the system registers, and
// the value of the system's hot-key field. Portable and pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// Modifier bits, the values the system's hot-key registration takes.
enum THotKeyModifier : unsigned {
  kHotKeyAlt = 1,
  kHotKeyCtrl = 2,
  kHotKeyShift = 4,
  kHotKeyWin = 8,
};

// A key combination: modifier bits and a virtual-key code.
struct HotKey {
  unsigned modifiers = 0;
  unsigned key = 0;
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// Ctrl+Alt+Space: what a store without a hot-key entry gets.
constexpr HotKey kDefaultHotKey{kHotKeyCtrl | kHotKeyAlt, 0x20};

// What the store's entry asks for.
struct HotKeySetting {
  enum Kind { Default, None, Invalid, Combination } kind = Default;
  HotKey combination;  // the combination to register (Default and Combination)
  bool Registers() const { return kind == Default || kind == Combination; }
  friend bool operator==(const HotKeySetting&, const HotKeySetting&) = default;
};

// The setting from the store's text: no entry gives the default, an empty
// one no hot key, a text that names no usable combination Invalid (nothing
// is registered then, not even the default).
HotKeySetting HotKeySettingFrom(const std::optional<std::string>& stored);

// A combination from its text: modifiers and one key joined by '+', in any
// order and case, spaces around the parts ignored ("ctrl + alt + space").
// A usable combination holds Ctrl, Alt or Win, or is a function key: a
// global key that a letter or Shift+letter alone would take from typing.
std::optional<HotKey> ParseHotKey(std::string_view text);

// The text of a combination, modifiers in the order Ctrl, Alt, Shift, Win
// ("Ctrl+Alt+Space"); empty for a key without a name.
std::string HotKeyText(const HotKey& hotKey);

// The system's hot-key field value (key code in the low byte, its own flag
// bits Shift 1, Ctrl 2, Alt 4 in the high byte) and back.
HotKey HotKeyFromFieldValue(std::uint16_t value);
std::uint16_t FieldValueFromHotKey(const HotKey& hotKey);

}  // namespace corvane
