// The hot key's text as the store keeps it, what a missing, empty or broken
// entry means, and the system hot-key field's value.
#include <gtest/gtest.h>

#include "launcher/HotKey.h"

namespace corvane {
namespace {

constexpr unsigned kCtrl = kHotKeyCtrl, kAlt = kHotKeyAlt, kShift = kHotKeyShift, kWin = kHotKeyWin;

TEST(HotKey, TextsNameCombinationsInAnyOrderAndCase) {
  struct Case {
    const char* text;
    HotKey hotKey;
    const char* written;  // the text the combination is written back as
  } cases[] = {
      {"Ctrl+Alt+Space", {kCtrl | kAlt, 0x20}, "Ctrl+Alt+Space"},
      {" alt + CONTROL + space ", {kCtrl | kAlt, 0x20}, "Ctrl+Alt+Space"},
      {"Win+Shift+k", {kWin | kShift, 'K'}, "Shift+Win+K"},
      {"Ctrl+7", {kCtrl, '7'}, "Ctrl+7"},
      {"F9", {0, 0x78}, "F9"},
      {"Shift+F24", {kShift, 0x87}, "Shift+F24"},
      {"Alt+PgDn", {kAlt, 0x22}, "Alt+PageDown"},
      {"Ctrl+Alt+Del", {kCtrl | kAlt, 0x2E}, "Ctrl+Alt+Delete"},
      {"Ctrl+Num5", {kCtrl, 0x65}, "Ctrl+Num5"},
  };
  for (const Case& c : cases) {
    std::optional<HotKey> parsed = ParseHotKey(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(*parsed, c.hotKey) << c.text;
    EXPECT_EQ(HotKeyText(*parsed), c.written) << c.text;
    EXPECT_EQ(ParseHotKey(HotKeyText(*parsed)), parsed) << c.text;
  }
}

TEST(HotKey, TextsThatNameNoUsableCombinationAreRefused) {
  // Letters, digits and Shift+letter alone would take keys from typing; a
  // combination needs one key, each modifier once, and names it knows.
  for (const char* text : {"", "+", "Ctrl+", "+Space", "Ctrl++Space", "Ctrl+Alt", "Space", "K", "Shift+K",
                           "Ctrl+K+L", "Ctrl+Ctrl+K", "Ctrl+F25", "Ctrl+F0", "Ctrl+Num10", "Hyper+K",
                           "Ctrl+Ä", "Ctrl+Alt+Space+", "Ctrl+F1234567890123"})
    EXPECT_FALSE(ParseHotKey(text)) << text;
}

TEST(HotKey, TheStoredEntryDecidesBetweenDefaultNoneAndAnInvalidText) {
  using K = HotKeySetting::Kind;
  struct Case {
    std::optional<std::string> stored;
    HotKeySetting setting;
  } cases[] = {
      {std::nullopt, {K::Default, kDefaultHotKey}},
      {"", {K::None, {}}},
      {"   ", {K::None, {}}},
      {"Win+F12", {K::Combination, {kWin, 0x7B}}},
      {"Ctrl+Alt+Banana", {K::Invalid, {}}},  // no default in its place either
  };
  for (const Case& c : cases) EXPECT_EQ(HotKeySettingFrom(c.stored), c.setting) << c.stored.value_or("(absent)");
  EXPECT_EQ(HotKeyText(kDefaultHotKey), "Ctrl+Alt+Space");
}

TEST(HotKey, TheFieldValueCarriesItsOwnFlagBits) {
  // The field's flags: Shift 1, Ctrl 2, Alt 4 in the high byte.
  EXPECT_EQ(FieldValueFromHotKey({kCtrl | kAlt, 0x20}), 0x0620);
  EXPECT_EQ(FieldValueFromHotKey({kShift, 0x78}), 0x0178);
  EXPECT_EQ(FieldValueFromHotKey({kWin | kCtrl, 'K'}), 0x024B);  // the field cannot show Win
  EXPECT_EQ(HotKeyFromFieldValue(0x0620), (HotKey{kCtrl | kAlt, 0x20}));
  EXPECT_EQ(HotKeyFromFieldValue(0x0778), (HotKey{kCtrl | kAlt | kShift, 0x78}));
  EXPECT_EQ(HotKeyFromFieldValue(0), (HotKey{}));
  EXPECT_EQ(HotKeyText(HotKey{kCtrl, 0xE5}), "");  // a key without a name
}

}  // namespace
}  // namespace corvane
