#include "launcher/IniDocument.h"

#include <gtest/gtest.h>

#include <climits>

namespace corvane {
namespace {

using Names = std::vector<std::string>;

Names Sections(const IniDocument& doc) {
  Names list{"stale"};
  doc.ReadSections(list);
  return list;
}

const char* const kTypical =
    "[GRAPHIC]\r\nFile=D:\\Tools\\star.png\r\nLeft=1210\r\nTop=38\r\n\r\n"
    "[Editor]\r\nLink=D:\\Tools\\editor.exe\r\nParam=\r\nRunWith=Mail,Notes\r\n\r\n"
    "[Mail]\r\nLink=D:\\Mail\\mail.exe\r\nParam=/check\r\n";

TEST(IniDocumentRead, TypicalFile) {
  IniDocument doc = IniDocument::Parse(kTypical);
  EXPECT_EQ(Sections(doc), (Names{"GRAPHIC", "Editor", "Mail"}));
  EXPECT_EQ(doc.ReadString("GRAPHIC", "File", "x"), "D:\\Tools\\star.png");
  EXPECT_EQ(doc.ReadInteger("GRAPHIC", "Left", 0), 1210);
  EXPECT_EQ(doc.ReadString("Editor", "Param", "x"), "");
  EXPECT_EQ(doc.ReadString("Mail", "Param", ""), "/check");
  EXPECT_EQ(doc.Serialize(), kTypical);
}

TEST(IniDocumentRead, NamesMatchWithoutRegardToCase) {
  IniDocument doc = IniDocument::Parse("[Mail]\nLink=m.exe\n");
  EXPECT_EQ(doc.ReadString("mAIL", "LINK", ""), "m.exe");
  EXPECT_TRUE(doc.HasSection("MAIL"));
  EXPECT_FALSE(doc.HasSection("Mai"));
}

TEST(IniDocumentRead, FirstSectionAndFirstKeyOfANameWin) {
  IniDocument doc = IniDocument::Parse("[A]\nk=1\nK=2\n[a]\nk=3\nonly=4\n");
  EXPECT_EQ(doc.ReadString("A", "k", ""), "1");
  // A key only in the later duplicate section is not seen.
  EXPECT_EQ(doc.ReadString("A", "only", "none"), "none");
  EXPECT_EQ(Sections(doc), (Names{"A", "a"}));
}

TEST(IniDocumentRead, MissingThingsGiveTheDefault) {
  IniDocument doc = IniDocument::Parse("[A]\nk=1\nnoequals\n");
  EXPECT_EQ(doc.ReadString("B", "k", "dflt"), "dflt");
  EXPECT_EQ(doc.ReadString("A", "x", "dflt"), "dflt");
  EXPECT_EQ(doc.ReadString("A", "noequals", "dflt"), "dflt");
  EXPECT_EQ(IniDocument().ReadInteger("A", "k", 7), 7);
  EXPECT_EQ(Sections(IniDocument()), Names{});
}

TEST(IniDocumentRead, BlanksAndOnePairOfMatchingQuotesAreDropped) {
  IniDocument doc = IniDocument::Parse(
      "[S]\n a = \t spaced \t\n"
      "dq=\"quoted\"\nsq='single'\nmixed=\"x'\nlone=\"\nempty=\"\"\n"
      "inner=\" keep blanks \"\ntwice=\"\"x\"\"\nhalf=\"x\" y\n");
  EXPECT_EQ(doc.ReadString("S", "a", ""), "spaced");
  EXPECT_EQ(doc.ReadString("S", "dq", ""), "quoted");
  EXPECT_EQ(doc.ReadString("S", "sq", ""), "single");
  EXPECT_EQ(doc.ReadString("S", "mixed", ""), "\"x'");
  EXPECT_EQ(doc.ReadString("S", "lone", ""), "\"");
  EXPECT_EQ(doc.ReadString("S", "empty", "x"), "");
  EXPECT_EQ(doc.ReadString("S", "inner", ""), " keep blanks ");
  EXPECT_EQ(doc.ReadString("S", "twice", ""), "\"x\"");
  EXPECT_EQ(doc.ReadString("S", "half", ""), "\"x\" y");
}

TEST(IniDocumentRead, LongValuesAreCutTo2047Characters) {
  std::string value;
  for (int i = 0; i < 3000; ++i) value += static_cast<char>('a' + i % 26);
  IniDocument doc =
      IniDocument::Parse("[S]\nlong=" + value + "\nexact=" + value.substr(0, 2047) + "\n");
  EXPECT_EQ(doc.ReadString("S", "long", ""), value.substr(0, 2047));
  EXPECT_EQ(doc.ReadString("S", "exact", ""), value.substr(0, 2047));
  // The cut happens after the quotes are dropped.
  IniDocument quoted = IniDocument::Parse("[S]\nq=\"" + value.substr(0, 2047) + "\"\n");
  EXPECT_EQ(quoted.ReadString("S", "q", ""), value.substr(0, 2047));
}

TEST(IniDocumentRead, SectionListingStopsAtTheBufferSize) {
  // 100 bytes per listed name (99 + zero byte), one more byte ends the list:
  // 163 names need 16301 bytes, a 164th would need 16401.
  std::string text;
  for (int i = 0; i < 200; ++i) {
    std::string name = std::to_string(1000 + i) + std::string(95, 'n');
    text += "[" + name + "]\nLink=x\n";
  }
  Names list = Sections(IniDocument::Parse(text));
  ASSERT_EQ(list.size(), 163u);
  EXPECT_EQ(list.back().substr(0, 4), "1162");

  // Exactly full: one name of 16382 characters, its zero byte and the end.
  EXPECT_EQ(Sections(IniDocument::Parse("[" + std::string(16382, 'a') + "]\n")).size(), 1u);
  EXPECT_EQ(Sections(IniDocument::Parse("[" + std::string(16383, 'a') + "]\n")).size(), 0u);
}

TEST(IniDocumentRead, LineEndsByteOrderMarkAndJunk) {
  IniDocument doc = IniDocument::Parse("\xEF\xBB\xBF[A]\r\nx=1\ry=2\nz=3\r\n\r\n[B]\rw=4");
  EXPECT_EQ(Sections(doc), (Names{"A", "B"}));
  EXPECT_EQ(doc.ReadString("A", "y", ""), "2");
  EXPECT_EQ(doc.ReadString("A", "z", ""), "3");
  EXPECT_EQ(doc.ReadString("B", "w", ""), "4");
  // The mark stays for the editor that wrote it; line ends become CR LF.
  EXPECT_EQ(doc.Serialize(), "\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\nz=3\r\n\r\n[B]\r\nw=4\r\n");

  const char junk[] = "[S]\nv=ab\0cd\n\xff\xfe[\0]\n=\n[\n]]\n";
  IniDocument odd = IniDocument::Parse(std::string_view(junk, sizeof junk - 1));
  EXPECT_EQ(odd.ReadString("S", "v", ""), "ab");
  // Each of 6 lines gains a CR; the file is not UTF-8, so it is read in the
  // locale's code page and written as UTF-8: 0xFF and 0xFE take two bytes each.
  EXPECT_EQ(odd.Serialize().size(), sizeof junk - 1 + 6 + 2);
}

TEST(IniDocumentRead, HeadersAndKeysAsPeopleTypeThem) {
  IniDocument doc = IniDocument::Parse(
      "k=before\n  [ Spaced ]  trailing\nk=1\n[NoClose\nk=2\n[]\nk=3\n[a[b]\nk=4\n");
  EXPECT_EQ(Sections(doc), (Names{"Spaced", "NoClose", "", "a[b"}));
  EXPECT_EQ(doc.ReadString("NoClose", "k", ""), "2");
  EXPECT_EQ(doc.ReadString("", "k", ""), "3");
  EXPECT_EQ(doc.ReadString("a[b", "k", ""), "4");
  // Keys before the first header belong to no section but are kept.
  EXPECT_EQ(doc.Serialize().substr(0, 10), "k=before\r\n");
}

TEST(ParseStoreInteger, DecimalAndHexadecimal) {
  EXPECT_EQ(ParseStoreInteger("1210"), 1210);
  EXPECT_EQ(ParseStoreInteger("-5"), -5);
  EXPECT_EQ(ParseStoreInteger("+7"), 7);
  EXPECT_EQ(ParseStoreInteger("0"), 0);
  EXPECT_EQ(ParseStoreInteger("0x20"), 32);
  EXPECT_EQ(ParseStoreInteger("0X1f"), 31);
  EXPECT_EQ(ParseStoreInteger("0x7FFFFFFF"), INT_MAX);
  EXPECT_EQ(ParseStoreInteger("0xFFFFFFFF"), -1);
  EXPECT_EQ(ParseStoreInteger("0x0000000020"), 32);
  EXPECT_EQ(ParseStoreInteger("2147483647"), INT_MAX);
  EXPECT_EQ(ParseStoreInteger("-2147483648"), INT_MIN);
}

TEST(ParseStoreInteger, NotAnIntegerGivesNothing) {
  for (const char* text : {"", "0x", "0xg", "12abc", "1 2", "-", "+", "2147483648", "-2147483649",
                           "0x100000000", "99999999999999999999", "x20", "-0x10", "1.5"}) {
    EXPECT_FALSE(ParseStoreInteger(text).has_value()) << text;
  }
}

TEST(IniDocumentRead, IntegersAreReadThroughTheTextRules) {
  IniDocument doc = IniDocument::Parse("[G]\nLeft=0x20\nTop=\"38\"\nBad=12px\nSp= 7 \n");
  EXPECT_EQ(doc.ReadInteger("g", "left", 0), 32);
  EXPECT_EQ(doc.ReadInteger("G", "Top", 0), 38);
  EXPECT_EQ(doc.ReadInteger("G", "Bad", -3), -3);
  EXPECT_EQ(doc.ReadInteger("G", "Sp", 0), 7);
}

TEST(IniDocumentWrite, ReplacesAppendsAndAddsSections) {
  IniDocument doc = IniDocument::Parse("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
  EXPECT_TRUE(doc.WriteString("a", "X", "10"));   // existing key, other case
  EXPECT_TRUE(doc.WriteString("A", "new", "n"));  // before the blank separator
  EXPECT_TRUE(doc.WriteString("C", "z", "3"));    // new section at the end
  EXPECT_FALSE(doc.WriteString("B", "Y", "2"));   // same text: no change
  EXPECT_EQ(doc.Serialize(), "[A]\r\nx=10\r\nnew=n\r\n\r\n[B]\r\ny=2\r\n\r\n[C]\r\nz=3\r\n");
  EXPECT_EQ(IniDocument::Parse(doc.Serialize()).ReadString("A", "x", ""), "10");
}

TEST(IniDocumentWrite, IntoAnEmptyDocumentAndIntoTheFirstDuplicate) {
  IniDocument empty;
  empty.WriteString("GRAPHIC", "File", "");
  EXPECT_EQ(empty.Serialize(), "[GRAPHIC]\r\nFile=\r\n");

  IniDocument doc = IniDocument::Parse("[S]\nk = old \n[s]\nk=other\n");
  doc.WriteString("S", "K", "new");
  EXPECT_EQ(doc.Serialize(), "[S]\r\nk=new\r\n[s]\r\nk=other\r\n");
}

TEST(IniDocumentWrite, EraseAndDeleteRemoveOnlyWhatExists) {
  IniDocument doc = IniDocument::Parse("[A]\nx=1\ny=2\nx=3\n[B]\nz=1\n[a]\nw=1\n");
  const std::string before = doc.Serialize();
  EXPECT_FALSE(doc.EraseSection("Nope"));
  EXPECT_FALSE(doc.DeleteKey("A", "nope"));
  EXPECT_FALSE(doc.DeleteKey("Nope", "x"));
  EXPECT_EQ(doc.Serialize(), before);

  EXPECT_TRUE(doc.DeleteKey("a", "X"));
  EXPECT_EQ(doc.ReadString("A", "x", "gone"), "gone");
  EXPECT_EQ(doc.ReadString("A", "y", ""), "2");
  EXPECT_TRUE(doc.EraseSection("A"));
  EXPECT_EQ(Sections(doc), (Names{"B"}));
  EXPECT_EQ(doc.Serialize(), "[B]\r\nz=1\r\n");
  // The index follows the erase: B is still found, A no longer.
  EXPECT_EQ(doc.ReadString("b", "z", ""), "1");
  EXPECT_TRUE(doc.WriteString("A", "x", "again"));
  EXPECT_EQ(Sections(doc), (Names{"B", "A"}));
}

TEST(IniNames, NamesTheFormatCannotHoldAreRefused) {
  for (std::string_view bad : {"a]b", "]", "a\nb", "a\rb", " lead", "trail ", "\tx"})
    EXPECT_TRUE(SectionNameProblem(bad).has_value()) << bad;
  EXPECT_TRUE(SectionNameProblem(std::string_view("a\0b", 3)).has_value());
  for (std::string_view bad : {"a=b", "=", "[k", "a\nb", " k", "k\t"})
    EXPECT_TRUE(KeyNameProblem(bad).has_value()) << bad;
  EXPECT_TRUE(ValueProblem("x\r\n[Evil]").has_value());
  EXPECT_TRUE(ValueProblem(std::string_view("a\0", 2)).has_value());
  EXPECT_NE(SectionNameProblem("a]b")->find("]"), std::string::npos);
  // A stray byte that is not UTF-8 would make the whole file read in the
  // old code page at the next start, renaming every other name in it.
  for (std::string_view bad : {"\xDF", "Caf\xE9", "\xC3", "\xED\xA0\x80"}) {
    EXPECT_TRUE(SectionNameProblem(bad).has_value()) << bad;
    EXPECT_TRUE(KeyNameProblem(bad).has_value()) << bad;
    EXPECT_TRUE(ValueProblem(bad).has_value()) << bad;
  }
  EXPECT_FALSE(ValueProblem("Caf\xC3\xA9 \xE2\x98\x95").has_value());
}

TEST(IniNames, EveryAcceptedNameReadsBackAfterAWrite) {
  const std::string_view names[] = {"",
                                    "My Notes",
                                    "[x",
                                    "a[b",
                                    "semi;colon",
                                    "k=v",
                                    "\"q\"",
                                    "\xc3\xa9t\xc3\xa9",
                                    "a\x01"
                                    "b",
                                    "#",
                                    "x\ty"};
  for (std::string_view section : names) {
    for (std::string_view key : names) {
      if (SectionNameProblem(section) || KeyNameProblem(key)) continue;
      IniDocument doc = IniDocument::Parse("[Other]\nk=1\n");
      doc.WriteString(section, key, "value");
      IniDocument reread = IniDocument::Parse(doc.Serialize());
      EXPECT_EQ(reread.ReadString(section, key, "missing"), "value") << section << " / " << key;
      EXPECT_EQ(reread.ReadString("Other", "k", ""), "1");
      EXPECT_EQ(Sections(reread).back(), section);
    }
  }
}

}  // namespace
}  // namespace corvane
