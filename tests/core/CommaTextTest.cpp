#include "launcher/CommaText.h"

#include <gtest/gtest.h>

#include "launcher/IniDocument.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

// What a list goes through on its way to the file and back: stored as one
// value, read with the profile rules (blanks and one pair of quotes
// dropped), then split.
Names ThroughStore(const Names& names) {
  IniDocument doc;
  doc.WriteString("Editor", "RunWith", CommaTextForStore(names));
  IniDocument reread = IniDocument::Parse(doc.Serialize());
  return SplitCommaText(reread.ReadString("Editor", "RunWith", ""));
}

TEST(CommaTextJoin, PlainNamesAreJoinedWithoutBlanks) {
  EXPECT_EQ(JoinCommaText({"Mail", "Notes", "x.y"}), "Mail,Notes,x.y");
  EXPECT_EQ(JoinCommaText({}), "");
}

TEST(CommaTextJoin, NamesWithBlanksQuotesCommasOrControlsAreQuoted) {
  EXPECT_EQ(JoinCommaText({"Mail", "My Notes"}), "Mail,\"My Notes\"");
  EXPECT_EQ(JoinCommaText({"a,b"}), "\"a,b\"");
  EXPECT_EQ(JoinCommaText({"say \"hi\""}), "\"say \"\"hi\"\"\"");
  EXPECT_EQ(JoinCommaText({"tab\there"}), "\"tab\there\"");
  EXPECT_EQ(JoinCommaText({std::string("\x01x")}), "\"\x01x\"");
  // Code 33 and above is written as it is, single quotes included.
  EXPECT_EQ(JoinCommaText({"it's!"}), "it's!");
}

TEST(CommaTextJoin, EmptyNames) {
  EXPECT_EQ(JoinCommaText({""}), "\"\"");
  EXPECT_EQ(JoinCommaText({"a", ""}), "a,");
  EXPECT_EQ(JoinCommaText({"", "a"}), ",a");
  EXPECT_EQ(JoinCommaText({"", ""}), ",");
}

TEST(CommaTextSplit, QuotedNameStaysWholeUnquotedBlankSeparates) {
  EXPECT_EQ(SplitCommaText("Mail,\"My Notes\""), (Names{"Mail", "My Notes"}));
  EXPECT_EQ(SplitCommaText("Mail,My Notes"), (Names{"Mail", "My", "Notes"}));
}

TEST(CommaTextSplit, BlanksAroundNamesAndCommasAreSkipped) {
  EXPECT_EQ(SplitCommaText("  \t a , b\t,c  "), (Names{"a", "b", "c"}));
  EXPECT_EQ(SplitCommaText(""), Names{});
  EXPECT_EQ(SplitCommaText("   "), Names{});
}

TEST(CommaTextSplit, CommaEndingTheTextAddsAnEmptyName) {
  EXPECT_EQ(SplitCommaText("a,"), (Names{"a", ""}));
  EXPECT_EQ(SplitCommaText(",,"), (Names{"", "", ""}));
  EXPECT_EQ(SplitCommaText(",a"), (Names{"", "a"}));
  // Blanks after the last comma mean it no longer ends the text.
  EXPECT_EQ(SplitCommaText("a, "), (Names{"a"}));
}

TEST(CommaTextSplit, QuotesInsideAndAroundNames) {
  EXPECT_EQ(SplitCommaText("\"\""), (Names{""}));
  EXPECT_EQ(SplitCommaText("\"say \"\"hi\"\"\""), (Names{"say \"hi\""}));
  EXPECT_EQ(SplitCommaText("\"ab\"cd"), (Names{"ab", "cd"}));
  EXPECT_EQ(SplitCommaText("x\"y"), (Names{"x\"y"}));
  // A hand edit that lost the closing quote keeps the rest as one name.
  EXPECT_EQ(SplitCommaText("a,\"b c"), (Names{"a", "b c"}));
}

TEST(CommaTextSplit, TextEndsAtNul) {
  EXPECT_EQ(SplitCommaText(std::string_view("a,b\0,c", 6)), (Names{"a", "b"}));
  EXPECT_EQ(SplitCommaText(std::string_view("\"a\0b\"", 5)), (Names{"a"}));
}

TEST(CommaText, JoinThenSplitGivesTheSameNames) {
  const Names lists[] = {
      {"Mail", "My Notes"},
      {""},
      {"", ""},
      {"a", ""},
      {"\""},
      {"\"\""},
      {","},
      {" lead", "trail ", "in side"},
      {"x\ty", "\x1f", "'q'"},
      {"a,b", "c\"d", "e"},
  };
  for (const Names& names : lists) EXPECT_EQ(SplitCommaText(JoinCommaText(names)), names);
}

TEST(CommaTextForStore, OnlyTextEnclosedInOneQuoteCharacterGetsAnExtraPair) {
  EXPECT_EQ(CommaTextForStore({"Mail", "My Notes"}), "Mail,\"My Notes\"");
  EXPECT_EQ(CommaTextForStore({"My Notes"}), "\"\"My Notes\"\"");
  EXPECT_EQ(CommaTextForStore({"'a", "b'"}), "\"'a,b'\"");
  EXPECT_EQ(CommaTextForStore({"'a", "b"}), "'a,b");
  EXPECT_EQ(CommaTextForStore({}), "");
}

TEST(CommaTextForStore, EveryListReadsBackAsWrittenThroughTheProfileRules) {
  const Names lists[] = {
      {"My Notes"},
      {"A B", "C D"},
      {"'a", "b'"},
      {""},
      {"\""},
      {"Mail", "My Notes"},
      {"My Notes", "Mail"},
      {"x", "y"},
      {},
      {"'"},
      {"''"},
      {"a", ""},
      {"", ""},
      {"\"q\""},
  };
  for (const Names& names : lists) EXPECT_EQ(ThroughStore(names), names);
}

TEST(CommaTextForStore, OlderFilesReadAsTheyAlwaysDid) {
  IniDocument doc = IniDocument::Parse(
      "[Editor]\r\nRunWith=\"My Notes\"\r\n[Mail]\r\nRunWith=Mail,\"My Notes\"\r\n");
  EXPECT_EQ(SplitCommaText(doc.ReadString("Editor", "RunWith", "")), (Names{"My", "Notes"}));
  EXPECT_EQ(SplitCommaText(doc.ReadString("Mail", "RunWith", "")), (Names{"Mail", "My Notes"}));
}

}  // namespace
}  // namespace corvane
