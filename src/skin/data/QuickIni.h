// Skin definition reader: the INI-style text inside a skin package, read once
// into memory and queried while a skin is parsed. Portable; never includes
// <windows.h> and never writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// Read-only INI text held as its kept lines plus an index of section headers.
// Lookups ignore ASCII letter case; anything missing or malformed yields the
// caller's default, because skin data is never reported as broken.
class TQuickIni {
 public:
  // Replaces the content with the 8-bit text in bytes (the rest of a stream
  // from its current position). A NUL byte ends the text early.
  void LoadFromStream(std::span<const std::uint8_t> bytes);
  // Same as LoadFromStream; accepts text directly (tests, tools).
  void LoadFromText(std::string_view text);
  // Given no stream at all the content stays as it was.
  void LoadFromStream(const std::vector<std::uint8_t>* stream) {
    if (stream) LoadFromStream(std::span<const std::uint8_t>(*stream));
  }

  // The value of key in section, or def when the section, the key or the
  // value is missing. Only the first line with the key in the first section of
  // that name counts.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view def) const;
  // ReadString converted to a 32-bit integer: decimal with optional sign, or
  // hexadecimal written "$1F" or "0x1F" (up to 32 bits, wrapping to signed);
  // def when it does not convert.
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t def) const;
  // Section names in file order without brackets; duplicates are kept.
  void ReadSections(std::vector<std::string>& target) const;
  std::vector<std::string> ReadSections() const;

  // True when a header "[section]" exists (ASCII case-insensitive).
  bool SectionExists(std::string_view section) const { return FindSection(section) >= 0; }
  // Every kept line, trimmed, in file order (comments and blank lines dropped).
  const std::vector<std::string>& Lines() const { return m_lines; }

 private:
  struct SectionEntry {
    std::string header;  // trimmed header text including its brackets
    std::size_t line;    // index of the header in m_lines
  };

  // Line index of the first header matching "[section]", or -1.
  std::ptrdiff_t FindSection(std::string_view section) const;

  std::vector<std::string> m_lines;
  std::vector<SectionEntry> m_sections;
  // Lower-cased header text to the line of its first header: a skin's parse
  // looks sections up hundreds of times.
  std::unordered_map<std::string, std::size_t> m_firstHeader;
};

// The framework-style text helpers the parser is built on, shared with the
// element model so both trim and convert identically.
namespace quickini {
// Removes leading and trailing characters up to and including the space
// (control characters too); bytes above 0x7F are text and stay.
std::string_view Trim(std::string_view s);
// Lower-cases A to Z only; other bytes are left alone.
std::string LowerAscii(std::string_view s);
// True when a and b are equal ignoring the case of A to Z.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Decimal with optional sign, or '$' followed by up to 32 bits of hex digits
// (wrapping to signed). False for empty text, stray characters or overflow.
bool TryParseInt32(std::string_view s, std::int32_t& out);
}  // namespace quickini

}  // namespace corvane
