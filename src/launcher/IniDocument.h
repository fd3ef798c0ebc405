// The link store's file format: an INI text in UTF-8 (older files in the
// locale's 8-bit code page are read too, see StoreEncoding.h), parsed into a model that keeps every line it does not understand, and the
// profile-file reading rules the program relies on. Portable core: never
// include <windows.h> here.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "launcher/StoreEncoding.h"

namespace corvane {

// Longest text a read gives back, in characters: values are read through a
// 2048-character buffer.
inline constexpr size_t kMaxValueLength = 2047;
// Section names are listed through a buffer of this many bytes, each name
// followed by a zero byte and the list by one more.
inline constexpr size_t kSectionListBuffer = 16384;

// Why a name or value cannot be stored without breaking the file's line and
// bracket structure, or nothing when it can.
std::optional<std::string> SectionNameProblem(std::string_view name);
std::optional<std::string> KeyNameProblem(std::string_view name);
std::optional<std::string> ValueProblem(std::string_view value);

// Case-insensitive equality in any script ("Café" and "CAFÉ" are one name),
// as section and key names compare; the same on every machine.
bool SameName(std::string_view a, std::string_view b);
// The form SameName compares: equal for names that are one name.
std::string FoldedName(std::string_view name);

// Reads an integer the way the store always has: decimal, or hexadecimal
// after "0x" (either case) when the text is longer than two characters;
// anything else, or a number outside 32 bits, yields nothing.
std::optional<int> ParseStoreInteger(std::string_view text);

class IniDocument {
 public:
  // Parses any bytes, decoded as DecodeStoreBytes decides (a byte-order
  // mark is kept for writing back), lines end in CR LF, LF or CR, and NUL
  // bytes or binary junk are carried as ordinary characters.
  static IniDocument Parse(std::string_view bytes);
  // The file's bytes in UTF-8, every line ending in CR LF.
  std::string Serialize() const;
  // How the parsed bytes were encoded.
  StoreEncoding Encoding() const { return m_encoding; }

  // Looks up the value as written after "=", blanks around it removed; the
  // first section and the first key of that name win.
  std::optional<std::string_view> FindValue(std::string_view section, std::string_view key) const;
  // The profile read: blanks dropped, one enclosing pair of matching double
  // or single quotes dropped, cut at a NUL byte and after kMaxValueLength
  // characters (never inside one).
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // Every section name in file order, as many as fit kSectionListBuffer.
  void ReadSections(std::vector<std::string>& list) const;
  bool HasSection(std::string_view section) const;

  // The changes return whether the document changed. Names and values must
  // have passed the *Problem checks; the store refuses them before this.
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Removes every section of that name (any case), so a deleted link cannot
  // reappear from a duplicate further down the file.
  bool EraseSection(std::string_view section);
  bool DeleteKey(std::string_view section, std::string_view key);

 private:
  // One line of a section's body; keyEnd is npos for lines without "=".
  struct Line {
    std::string text;
    size_t keyEnd;
    std::string_view Key() const;
    std::string_view Value() const;
  };
  struct Section {
    std::string header;  // the raw header line, kept as written
    std::string name;
    std::vector<Line> lines;
  };
  struct FoldedHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const;
  };
  struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
  };

  const Section* FindSection(std::string_view name) const;
  static const Line* FindLine(const Section& section, std::string_view key);
  void RebuildIndex();

  bool m_byteOrderMark = false;
  StoreEncoding m_encoding = StoreEncoding::Utf8;
  std::vector<std::string> m_preamble;  // lines before the first section header
  std::vector<Section> m_sections;
  // First section of each name, so 1000 lookups do not scan 1000 sections each.
  std::unordered_map<std::string, size_t, FoldedHash, FoldedEqual> m_index;
};

}  // namespace corvane
