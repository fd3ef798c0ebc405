#include "launcher/HotKey.h"

#include <array>
#include <cctype>
#include <utility>

namespace corvane {

namespace {

// Virtual-key codes of the system (this file includes no system header).
constexpr unsigned kKeyF1 = 0x70, kKeyF24 = 0x87;
constexpr unsigned kKeyNumpad0 = 0x60, kKeyNumpad9 = 0x69;

struct NamedKey {
  const char* name;
  unsigned key;
};

// Keys with a name of their own; letters, digits, F1-F24 and Num0-Num9 are
// made from their code. The first name of a key is the one written.
constexpr std::array<NamedKey, 17> kNamedKeys{{
    {"Space", 0x20},    {"PageUp", 0x21}, {"PageDown", 0x22}, {"End", 0x23},   {"Home", 0x24},
    {"Left", 0x25},     {"Up", 0x26},     {"Right", 0x27},    {"Down", 0x28},  {"Insert", 0x2D},
    {"Delete", 0x2E},   {"Pause", 0x13},  {"Enter", 0x0D},    {"PgUp", 0x21},  {"PgDn", 0x22},
    {"Ins", 0x2D},      {"Del", 0x2E},
}};

struct NamedModifier {
  const char* name;
  unsigned bit;
};

constexpr std::array<NamedModifier, 5> kModifiers{{
    {"Ctrl", kHotKeyCtrl}, {"Control", kHotKeyCtrl}, {"Alt", kHotKeyAlt}, {"Shift", kHotKeyShift}, {"Win", kHotKeyWin},
}};

// The field's own flag bits.
constexpr unsigned kFieldShift = 1, kFieldCtrl = 2, kFieldAlt = 4;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string_view Trimmed(std::string_view part) {
  while (!part.empty() && std::isspace(static_cast<unsigned char>(part.front()))) part.remove_prefix(1);
  while (!part.empty() && std::isspace(static_cast<unsigned char>(part.back()))) part.remove_suffix(1);
  return part;
}

std::optional<unsigned> KeyCode(std::string_view name) {
  if (name.size() == 1) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<unsigned>(c);
  }
  for (const NamedKey& named : kNamedKeys)
    if (SameName(name, named.name)) return named.key;
  auto numberAfter = [&](std::string_view prefix, int low, int high) -> std::optional<int> {
    if (name.size() <= prefix.size() || !SameName(name.substr(0, prefix.size()), prefix)) return std::nullopt;
    int n = 0;
    for (char c : name.substr(prefix.size())) {
      if (c < '0' || c > '9' || n > 100) return std::nullopt;
      n = n * 10 + (c - '0');
    }
    if (n < low || n > high) return std::nullopt;
    return n;
  };
  if (auto f = numberAfter("F", 1, 24)) return kKeyF1 + static_cast<unsigned>(*f - 1);
  if (auto n = numberAfter("Num", 0, 9)) return kKeyNumpad0 + static_cast<unsigned>(*n);
  return std::nullopt;
}

std::string KeyName(unsigned key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  // Appended rather than joined with +: GCC 12 warns wrongly about the
  // joined form at high optimisation.
  auto numbered = [](const char* prefix, unsigned n) {
    std::string name = prefix;
    name += std::to_string(n);
    return name;
  };
  if (key >= kKeyF1 && key <= kKeyF24) return numbered("F", key - kKeyF1 + 1);
  if (key >= kKeyNumpad0 && key <= kKeyNumpad9) return numbered("Num", key - kKeyNumpad0);
  for (const NamedKey& named : kNamedKeys)
    if (named.key == key) return named.name;
  return {};
}

bool IsFunctionKey(unsigned key) { return key >= kKeyF1 && key <= kKeyF24; }

}  // namespace

std::optional<HotKey> ParseHotKey(std::string_view text) {
  HotKey hotKey;
  bool haveKey = false;
  while (true) {
    const std::size_t plus = text.find('+');
    const std::string_view part = Trimmed(text.substr(0, plus));
    if (part.empty()) return std::nullopt;
    bool isModifier = false;
    for (const NamedModifier& modifier : kModifiers)
      if (SameName(part, modifier.name)) {
        if (hotKey.modifiers & modifier.bit) return std::nullopt;  // named twice
        hotKey.modifiers |= modifier.bit;
        isModifier = true;
      }
    if (!isModifier) {
      const std::optional<unsigned> key = KeyCode(part);
      if (!key || haveKey) return std::nullopt;
      hotKey.key = *key;
      haveKey = true;
    }
    if (plus == std::string_view::npos) break;
    text.remove_prefix(plus + 1);
  }
  const bool holdsCommandModifier = (hotKey.modifiers & (kHotKeyCtrl | kHotKeyAlt | kHotKeyWin)) != 0;
  if (!haveKey || (!holdsCommandModifier && !IsFunctionKey(hotKey.key))) return std::nullopt;
  return hotKey;
}

HotKeySetting HotKeySettingFrom(const std::optional<std::string>& stored) {
  if (!stored) return {HotKeySetting::Default, kDefaultHotKey};
  if (Trimmed(*stored).empty()) return {HotKeySetting::None, {}};
  if (std::optional<HotKey> hotKey = ParseHotKey(*stored)) return {HotKeySetting::Combination, *hotKey};
  return {HotKeySetting::Invalid, {}};
}

std::string HotKeyText(const HotKey& hotKey) {
  std::string key = KeyName(hotKey.key);
  if (key.empty()) return {};
  std::string text;
  for (const auto& [bit, name] : {std::pair{kHotKeyCtrl, "Ctrl"}, std::pair{kHotKeyAlt, "Alt"},
                                  std::pair{kHotKeyShift, "Shift"}, std::pair{kHotKeyWin, "Win"}})
    if (hotKey.modifiers & bit) text += std::string(name) + "+";
  return text + key;
}

HotKey HotKeyFromFieldValue(std::uint16_t value) {
  const unsigned flags = value >> 8;
  HotKey hotKey{0, value & 0xFFu};
  if (flags & kFieldShift) hotKey.modifiers |= kHotKeyShift;
  if (flags & kFieldCtrl) hotKey.modifiers |= kHotKeyCtrl;
  if (flags & kFieldAlt) hotKey.modifiers |= kHotKeyAlt;
  return hotKey;
}

std::uint16_t FieldValueFromHotKey(const HotKey& hotKey) {
  // The field has no Win flag: a combination with Win shows without it.
  unsigned flags = 0;
  if (hotKey.modifiers & kHotKeyShift) flags |= kFieldShift;
  if (hotKey.modifiers & kHotKeyCtrl) flags |= kFieldCtrl;
  if (hotKey.modifiers & kHotKeyAlt) flags |= kFieldAlt;
  return static_cast<std::uint16_t>((flags << 8) | (hotKey.key & 0xFFu));
}

}  // namespace corvane
