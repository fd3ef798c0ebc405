// UTF-8 handling, the system's case mapping and the store's encodings: the
// rules that make a name in any script one name everywhere, never cut in
// half and never lost.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/Mnemonic.h"
#include "core/SystemText.h"
#include "core/Utf8.h"
#include "launcher/IniDocument.h"
#include "launcher/LinkStore.h"

namespace corvane {
namespace {

using Names = std::vector<std::string>;

// Names in the scripts a user keeps files in (UTF-8 spelled out, so the test
// does not depend on the compiler's source character set).
const std::string kZoe = "Zo\xC3\xAB";                                      // Zoë
const std::string kDocuments = "\xD0\x94\xD0\xBE\xD0\xBA\xD1\x83\xD0\xBC\xD0\xB5\xD0\xBD\xD1\x82\xD1\x8B";  // Документы
const std::string kDOCUMENTS = "\xD0\x94\xD0\x9E\xD0\x9A\xD0\xA3\xD0\x9C\xD0\x95\xD0\x9D\xD0\xA2\xD0\xAB";  // ДОКУМЕНТЫ
const std::string kResume = "\xE5\xB1\xA5\xE6\xAD\xB4\xE6\x9B\xB8";  // 履歴書
const std::string kCoffee = "\xE2\x98\x95";                           // ☕ (three bytes)
const std::string kRocket = "\xF0\x9F\x9A\x80";                       // 🚀 (four bytes, two UTF-16 units)
const std::string kHebrew = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";       // שלום, right to left
const std::string kCafe = "Caf\xC3\xA9";                              // Café
const std::string kCAFE = "CAF\xC3\x89";                              // CAFÉ

TEST(Utf8, WellFormedTextIsToldFromEverythingElse) {
  struct Case {
    std::string bytes;
    bool valid;
  } cases[] = {
      {"", true},
      {"plain ASCII", true},
      {kZoe + kDocuments + kResume + kCoffee + kRocket + kHebrew, true},
      {"Caf\xE9", false},              // Windows-1252 é
      {"\xC3", false},                 // a character cut after its first byte
      {"\xE5\xB1", false},             // three-byte character cut short
      {"\xC0\xAF", false},             // overlong "/"
      {"\xE0\x80\xAF", false},         // overlong again
      {"\xED\xA0\x80", false},         // a surrogate written as UTF-8
      {"\xF4\x90\x80\x80", false},     // above U+10FFFF
      {"\x80", false},                 // a lone continuation byte
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(Utf8, CutsNeverSplitACharacter) {
  const std::string text = "a" + kRocket + kResume;  // 1 + 4 + 9 bytes, 5 characters
  EXPECT_EQ(CutToBytes(text, 0), "");
  EXPECT_EQ(CutToBytes(text, 4), "a");  // not "a" and three bytes of the rocket
  EXPECT_EQ(CutToBytes(text, 5), "a" + kRocket);
  EXPECT_EQ(CutToBytes(text, 7), "a" + kRocket);
  EXPECT_EQ(CutToBytes(text, 100), text);
  EXPECT_EQ(CutToCharacters(text, 2), "a" + kRocket);
  EXPECT_EQ(CutToCharacters(text, 3), "a" + kRocket + "\xE5\xB1\xA5");
  EXPECT_EQ(CutToCharacters(text, 9), text);
  // A stray byte counts as one character and is cut as one.
  EXPECT_EQ(CutToCharacters("\xE9x", 1), "\xE9");
}

TEST(Utf8, Utf16RoundTripKeepsEveryCharacterAndEveryStrayByte) {
  const std::string text = kZoe + kDocuments + kResume + kCoffee + kRocket + kHebrew;
  const std::u16string wide = Utf8ToUtf16(text);
  // The rocket takes two UTF-16 units.
  EXPECT_EQ(wide.size(), 3u + 9 + 3 + 1 + 2 + 4);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
  // A byte that is not UTF-8 becomes the character of its value, not nothing.
  EXPECT_EQ(Utf8ToUtf16("a\xE9z"), u"a\u00E9z");
  // An unpaired surrogate becomes a visible replacement.
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t{0xD83D})), "\xEF\xBF\xBD");
}

TEST(SystemText, LetterCaseIsFoldedInEveryScript) {
  EXPECT_EQ(UpperCaseText(kCafe), kCAFE);
  EXPECT_EQ(UpperCaseText(kDocuments), kDOCUMENTS);
  // Scripts without letter case, emoji and right-to-left text stay as they are.
  EXPECT_EQ(UpperCaseText(kResume + kRocket + kHebrew), kResume + kRocket + kHebrew);
}

TEST(SystemText, AnOlderStoresCodePageIsReadKeepingEveryByte) {
  // The Western locale's code page: é, Ñ, ú and the euro sign.
  EXPECT_EQ(LegacyCodePageToUtf8("Caf\xE9 \xD1" "and\xFA \x80"),
            kCafe + " \xC3\x91" "and\xC3\xBA \xE2\x82\xAC");
}

TEST(StoreNames, NamesThatDifferOnlyInLetterCaseAreOneNameInAnyScript) {
  struct Case {
    std::string a, b;
    bool same;
  } cases[] = {
      {kCafe, kCAFE, true},
      {kCafe, "caf\xC3\xA9", true},
      {kDocuments, kDOCUMENTS, true},
      {kCafe, "Cafe", false},  // an accent is not letter case
      {kResume, kResume, true},
      {kResume + kRocket, kResume, false},
      {"Mail", "MAIL", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameName(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(FoldedName(c.a) == FoldedName(c.b), c.same) << c.a << " / " << c.b;
  }
  EXPECT_EQ(DistinctNames({kCafe, "Mail", kCAFE, kDocuments, "mail", kDOCUMENTS, kResume}),
            (Names{kCafe, "Mail", kDocuments, kResume}));
}

TEST(StoreNames, SectionsOfAnyScriptAreFoundInAnyLetterCase) {
  IniDocument doc = IniDocument::Parse("[" + kCafe + "]\r\nLink=x\r\n");
  EXPECT_EQ(doc.ReadString(kCAFE, "Link", ""), "x");
  EXPECT_TRUE(doc.WriteString(kCAFE, "Param", "p"));
  Names sections;
  doc.ReadSections(sections);
  EXPECT_EQ(sections, Names{kCafe});  // written into the existing section
  EXPECT_TRUE(doc.EraseSection("caf\xC3\xA9"));
  doc.ReadSections(sections);
  EXPECT_EQ(sections, Names{});
}

TEST(StoreEncodingTest, EachKindOfFileIsReadAsWhatItIs) {
  const std::string utf8 = "[" + kCafe + "]\r\nLink=" + kResume + kRocket + "\r\n";
  auto utf16 = [&](bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : Utf8ToUtf16(utf8)) {
      const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
      bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
    StoreEncoding encoding;
    std::string text;
  } cases[] = {
      {"UTF-8", utf8, StoreEncoding::Utf8, utf8},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + utf8, StoreEncoding::Utf8WithMark, utf8},
      {"UTF-16 LE", utf16(false), StoreEncoding::Utf16, utf8},
      {"UTF-16 BE", utf16(true), StoreEncoding::Utf16, utf8},
      {"an earlier version's", "[Caf\xE9]\r\nLink=\xD1" "and\xFA\r\n", StoreEncoding::LegacyCodePage,
       "[" + kCafe + "]\r\nLink=\xC3\x91" "and\xC3\xBA\r\n"},
      // One UTF-8 line among 8-bit lines: the file as a whole is not UTF-8,
      // so all of it is read in the code page; no byte is lost.
      {"mixed", "[A]\r\nLink=" + kCafe + "\r\n[Caf\xE9]\r\n", StoreEncoding::LegacyCodePage,
       "[A]\r\nLink=Caf\xC3\x83\xC2\xA9\r\n[" + kCafe + "]\r\n"},
      // Marked as UTF-8 but with a stray byte: kept as the character of its value.
      {"marked with a stray byte", "\xEF\xBB\xBF[\xE9]", StoreEncoding::Utf8WithMark, "[\xC3\xA9]"},
  };
  for (const Case& c : cases) {
    DecodedStore decoded = DecodeStoreBytes(c.bytes);
    EXPECT_EQ(decoded.encoding, c.encoding) << c.what;
    EXPECT_EQ(decoded.text, c.text) << c.what;
  }
}

TEST(StoreEncodingTest, AnOlderStoreIsWrittenBackAsUtf8WithTheSameLinks) {
  IniDocument doc = IniDocument::Parse("[Caf\xE9]\r\nLink=C:\\\xD1" "and\xFA.exe\r\n[GRAPHIC]\r\nLeft=5\r\n");
  EXPECT_EQ(doc.Encoding(), StoreEncoding::LegacyCodePage);
  EXPECT_EQ(doc.ReadString(kCAFE, "Link", ""), "C:\\\xC3\x91" "and\xC3\xBA.exe");
  EXPECT_EQ(doc.Serialize(),
            "[" + kCafe + "]\r\nLink=C:\\\xC3\x91" "and\xC3\xBA.exe\r\n[GRAPHIC]\r\nLeft=5\r\n");
  // A file marked as Unicode (UTF-16 here) stays marked, now as UTF-8.
  EXPECT_EQ(IniDocument::Parse(std::string("\xFF\xFE[\0A\0]\0", 8)).Serialize(), "\xEF\xBB\xBF[A]\r\n");
}

TEST(StoreEncodingTest, LongValuesAreCutAfterWholeCharacters) {
  std::string longValue;
  for (size_t i = 0; i < kMaxValueLength + 5; ++i) longValue += kResume.substr(0, 3);
  IniDocument doc = IniDocument::Parse("[A]\r\nk=" + longValue + "\r\n");
  const std::string read = doc.ReadString("A", "k", "");
  EXPECT_EQ(read.size(), kMaxValueLength * 3);
  EXPECT_TRUE(IsValidUtf8(read));
}

TEST(Mnemonics, TheAcceleratorIsAWholeCharacterMatchedInEitherCase) {
  EXPECT_EQ(CaptionMnemonic("&\xC3\x89" "diteur"), CaptionMnemonic("&\xC3\xA9" "diteur"));  // É / é
  EXPECT_EQ(CaptionMnemonic("&\xC3\xA9" "diteur"), KeyMnemonic(U'\u00C9'));
  EXPECT_EQ(CaptionMnemonic("&" + kDocuments), KeyMnemonic(U'\u0434'));  // д typed for Д
  EXPECT_EQ(CaptionMnemonic("&" + kResume), KeyMnemonic(U'\u5C65'));
  // Not a byte of the character: a key with the same first byte's value does not match.
  EXPECT_NE(CaptionMnemonic("&" + kResume), KeyMnemonic(0xE5));
  EXPECT_EQ(CaptionMnemonic("&Save"), KeyMnemonic('S'));
}

// A folder named in two scripts, removed afterwards; paths in UTF-8 as the
// program holds them.
class UnicodeFolder {
 public:
  UnicodeFolder() {
    std::random_device seed;
    const std::string name = "corvane-" + std::to_string(seed()) + " " + kZoe + " " + kDocuments;
    m_dir = std::filesystem::temp_directory_path() /
            std::filesystem::path(std::u8string(name.begin(), name.end()));
    std::filesystem::create_directories(m_dir);
  }
  ~UnicodeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }
  std::string Path(const std::string& name) const {
    const std::u8string dir = m_dir.u8string();
    return std::string(dir.begin(), dir.end()) + "/" + name;
  }
  std::string Bytes(const std::string& name) const {
    std::ifstream in(m_dir / std::filesystem::path(std::u8string(name.begin(), name.end())), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(m_dir / std::filesystem::path(std::u8string(name.begin(), name.end())), std::ios::binary) << bytes;
  }

 private:
  std::filesystem::path m_dir;
};

TEST(UnicodeStore, AStoreInAFolderNamedInTwoScriptsKeepsNamesAndValuesInEveryScript) {
  UnicodeFolder folder;
  const std::string name = kResume + " \xE2\x80\x93 2026" + kRocket;
  LinkStore store;
  store.Open(folder.Path(kZoe + ".ini"));
  store.WriteString(name, "Link", "C:\\Users\\" + kZoe + "\\" + kDocuments + "\\" + kResume + ".docx");
  store.WriteString(kHebrew, "Param", kHebrew + " " + kCoffee);
  store.Close();
  LinkStore again;
  again.Open(folder.Path(kZoe + ".ini"));
  EXPECT_EQ(again.ReadString(name, "Link", ""),
            "C:\\Users\\" + kZoe + "\\" + kDocuments + "\\" + kResume + ".docx");
  EXPECT_EQ(again.ReadString(kHebrew, "Param", ""), kHebrew + " " + kCoffee);
  const std::string bytes = folder.Bytes(kZoe + ".ini");
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_NE(bytes.find("[" + name + "]"), std::string::npos);
}

TEST(UnicodeStore, AnOlderStoreOnDiskBecomesUtf8AtTheNextChangeAndLosesNoLink) {
  UnicodeFolder folder;
  folder.Write("old.ini", "[Caf\xE9]\r\nLink=x\r\n\r\n[\xD1" "and\xFA]\r\nLink=y\r\n");
  LinkStore store;
  store.Open(folder.Path("old.ini"));
  Names sections;
  store.ReadSections(sections);
  EXPECT_EQ(sections, (Names{kCafe, "\xC3\x91" "and\xC3\xBA"}));
  // Reading changes nothing on disk.
  EXPECT_EQ(folder.Bytes("old.ini"), "[Caf\xE9]\r\nLink=x\r\n\r\n[\xD1" "and\xFA]\r\nLink=y\r\n");
  store.WriteString(kCAFE, "Param", "p");
  EXPECT_EQ(folder.Bytes("old.ini"), "[" + kCafe + "]\r\nLink=x\r\nParam=p\r\n\r\n[\xC3\x91" "and\xC3\xBA]\r\nLink=y\r\n");
  store.ReadSections(sections);
  EXPECT_EQ(DistinctNames(sections), (Names{kCafe, "\xC3\x91" "and\xC3\xBA"}));
}

}  // namespace
}  // namespace corvane
