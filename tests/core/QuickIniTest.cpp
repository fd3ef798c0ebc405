#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/data/QuickIni.h"

namespace corvane {
namespace {

TQuickIni Ini(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromText(text);
  return ini;
}

TEST(QuickIni, SpacesAroundEqualsAndLetterCaseAreIgnored) {
  TQuickIni ini = Ini("[BORDER]\r\nTopHeight = 3\r\n  Rightwidth=7  \r\n");
  EXPECT_EQ(ini.ReadInteger("Border", "TopHeight", -1), 3);
  EXPECT_EQ(ini.ReadInteger("border", "RightWidth", -1), 7);
  EXPECT_EQ(ini.ReadString("Border", "rightwidth", "x"), "7");
  EXPECT_EQ(ini.ReadString("Border", "LeftWidth", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Missing", "TopHeight", "dflt"), "dflt");
}

TEST(QuickIni, HeaderWithInnerSpacesIsNotFoundByPlainName) {
  TQuickIni ini = Ini("[ Buttons ]\nA=1\n");
  EXPECT_EQ(ini.ReadInteger("Buttons", "A", -1), -1);
  EXPECT_EQ(ini.ReadInteger(" Buttons ", "A", -1), 1);
  // The section list still reports the name, trimmed.
  EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{"Buttons"});
}

TEST(QuickIni, DuplicateSectionsOnlyFirstIsSearchedButBothAreListed) {
  TQuickIni ini = Ini("[a]\nx=1\n[b]\ny=2\n[A]\nx=9\nz=3\n");
  EXPECT_EQ(ini.ReadInteger("a", "x", -1), 1);
  EXPECT_EQ(ini.ReadInteger("a", "z", -1), -1);  // z lives in the second [A] only
  EXPECT_EQ(ini.ReadInteger("b", "x", -1), -1);  // lookup stops at the next header
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"a", "b", "A"}));
}

TEST(QuickIni, FirstLineWithKeyDecidesEvenWhenEmpty) {
  TQuickIni ini = Ini("[s]\nk=\nk=5\nj=4\nj=6\n");
  EXPECT_EQ(ini.ReadInteger("s", "k", 77), 77);
  EXPECT_EQ(ini.ReadString("s", "k", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("s", "j", 0), 4);
}

TEST(QuickIni, IntegerConversions) {
  TQuickIni ini = Ini(
      "[n]\nhex=0x1F\nHEX=0X1f\nbare=0x\ndollar=$ff\njunk=12abc\nneg=-42\nplus=+8\n"
      "big=2147483648\nmin=-2147483648\nfull=0xFFFFFFFF\nwide=0x100000000\nsign=-\n"
      "space=1 2\nnothing=\n");
  EXPECT_EQ(ini.ReadInteger("n", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "dollar", 0), 255);
  EXPECT_EQ(ini.ReadInteger("n", "bare", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "junk", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -42);
  EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 8);
  EXPECT_EQ(ini.ReadInteger("n", "big", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "min", 0), INT32_MIN);
  EXPECT_EQ(ini.ReadInteger("n", "full", 0), -1);
  EXPECT_EQ(ini.ReadInteger("n", "wide", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "sign", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "space", -5), -5);
  EXPECT_EQ(ini.ReadInteger("n", "nothing", -5), -5);
}

TEST(QuickIni, KeyIsFirstEqualsAndHexRewriteOnlyAtStart) {
  TQuickIni ini = Ini("[s]\npath = a=b \nv=10x5\n");
  EXPECT_EQ(ini.ReadString("s", "path", ""), "a=b");
  EXPECT_EQ(ini.ReadInteger("s", "v", -1), -1);
}

TEST(QuickIni, CommentsAndBlankLinesAreNotLines) {
  TQuickIni ini = Ini("; top\n\n   \n[s]\n  ; indented comment=1\nk = a;b\n\t\n");
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[s]", "k = a;b"}));
  EXPECT_EQ(ini.ReadString("s", "k", ""), "a;b");
  EXPECT_EQ(ini.ReadString("s", "; indented comment", "none"), "none");
}

TEST(QuickIni, LineEndsCrLfCrAndLfSplitAlike) {
  const std::vector<std::string> expected{"[s]", "a=1", "b=2"};
  EXPECT_EQ(Ini("[s]\r\na=1\r\nb=2\r\n").Lines(), expected);
  EXPECT_EQ(Ini("[s]\ra=1\rb=2").Lines(), expected);
  EXPECT_EQ(Ini("[s]\na=1\nb=2").Lines(), expected);
  // LF CR is two line ends: the empty line between them is dropped anyway.
  EXPECT_EQ(Ini("[s]\n\ra=1\n\rb=2").Lines(), expected);
}

TEST(QuickIni, NulEndsTheWholeText) {
  std::string text("[s]\na=1\0b=2\n", 12);
  TQuickIni ini = Ini(text);
  EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[s]", "a=1"}));
  EXPECT_EQ(ini.ReadString("s", "b", "gone"), "gone");
}

TEST(QuickIni, LineWithoutEqualsHasEmptyKeyAndNoValue) {
  TQuickIni ini = Ini("[s]\nflag\n=7\n[t]\n=8\n");
  EXPECT_EQ(ini.ReadString("s", "flag", "d"), "d");
  // The bare word is the first line with the empty key, and it has no value:
  // the later "=7" is never consulted.
  EXPECT_EQ(ini.ReadString("s", "", "d"), "d");
  EXPECT_EQ(ini.ReadString("t", "", "d"), "8");
}

TEST(QuickIni, ReloadReplacesEverythingAndNullStreamKeepsIt) {
  TQuickIni ini = Ini("[a]\nk=1\n");
  const std::vector<std::uint8_t> bytes{'[', 'b', ']', '\n', 'k', '=', '2'};
  ini.LoadFromStream(std::span<const std::uint8_t>(bytes));
  EXPECT_EQ(ini.ReadInteger("a", "k", -1), -1);
  EXPECT_EQ(ini.ReadInteger("b", "k", -1), 2);
  ini.LoadFromStream(static_cast<const std::vector<std::uint8_t>*>(nullptr));
  EXPECT_EQ(ini.ReadInteger("b", "k", -1), 2);
  ini.LoadFromText("");
  EXPECT_TRUE(ini.Lines().empty());
  EXPECT_FALSE(ini.SectionExists("b"));
}

TEST(QuickIni, HighBytesAreTextAndNotFolded) {
  // Only A..Z fold: a key with a byte above 0x7F must match itself exactly.
  TQuickIni ini = Ini("[s]\n\xC4Name=1\n\xE4name=2\n");
  EXPECT_EQ(ini.ReadInteger("s", "\xC4name", -1), 1);
  EXPECT_EQ(ini.ReadInteger("s", "\xE4NAME", -1), 2);
}

TEST(QuickIni, EmptyHeaderAndOddBrackets) {
  TQuickIni ini = Ini("[]\nk=1\n[x\ny=2\n]\n");
  EXPECT_EQ(ini.ReadInteger("", "k", -1), 1);
  // "[x" and "]" are ordinary lines, so they belong to section "".
  EXPECT_EQ(ini.ReadInteger("", "y", -1), 2);
  EXPECT_EQ(ini.ReadSections(), std::vector<std::string>{""});
}

}  // namespace
}  // namespace corvane
