#include "skin/data/QuickIni.h"

namespace corvane {

namespace quickini {

std::string_view Trim(std::string_view s) {
  std::size_t begin = 0;
  std::size_t end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
  return s.substr(begin, end - begin);
}

namespace {
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
}  // namespace

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = LowerChar(c);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerChar(a[i]) != LowerChar(b[i])) return false;
  return true;
}

bool TryParseInt32(std::string_view s, std::int32_t& out) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  if (i < s.size() && s[i] == '$') {
    ++i;
    if (i == s.size()) return false;
    std::uint64_t value = 0;
    for (; i < s.size(); ++i) {
      int d = HexDigit(s[i]);
      if (d < 0) return false;
      value = value * 16 + static_cast<unsigned>(d);
      // Colours are often written as full 32-bit hex; more than that is junk.
      if (value > 0xFFFFFFFFull) return false;
    }
    std::uint32_t bits = static_cast<std::uint32_t>(value);
    if (negative) bits = 0u - bits;
    out = static_cast<std::int32_t>(bits);
    return true;
  }
  if (i == s.size()) return false;
  std::int64_t value = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
    if (value > 2147483648LL) return false;
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return false;
  out = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace quickini

namespace {
bool IsHeader(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}
}  // namespace

void TQuickIni::LoadFromStream(std::span<const std::uint8_t> bytes) {
  LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TQuickIni::LoadFromText(std::string_view text) {
  m_lines.clear();
  m_sections.clear();
  m_firstHeader.clear();
  std::size_t pos = 0;
  const std::size_t size = text.size();
  while (pos < size && text[pos] != '\0') {
    std::size_t start = pos;
    while (pos < size && text[pos] != '\r' && text[pos] != '\n' && text[pos] != '\0') ++pos;
    std::string_view line = quickini::Trim(text.substr(start, pos - start));
    if (!line.empty() && line.front() != ';') {
      if (IsHeader(line)) {
        m_sections.push_back({std::string(line), m_lines.size()});
        m_firstHeader.try_emplace(quickini::LowerAscii(line), m_lines.size());
      }
      m_lines.emplace_back(line);
    }
    if (pos < size && text[pos] == '\r') ++pos;
    if (pos < size && text[pos] == '\n') ++pos;
  }
}

std::ptrdiff_t TQuickIni::FindSection(std::string_view section) const {
  std::string wanted;
  wanted.reserve(section.size() + 2);
  wanted += '[';
  wanted += section;
  wanted += ']';
  // Headers compare ignoring the case of A to Z, which is what lower-casing
  // both sides does.
  const auto found = m_firstHeader.find(quickini::LowerAscii(wanted));
  return found == m_firstHeader.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

std::string TQuickIni::ReadString(std::string_view section, std::string_view key,
                                  std::string_view def) const {
  std::string result(def);
  if (m_lines.empty()) return result;
  std::ptrdiff_t header = FindSection(section);
  if (header < 0) return result;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < m_lines.size(); ++i) {
    std::string_view line = m_lines[i];
    if (IsHeader(line)) break;
    std::size_t eq = line.find('=');
    // Compared in place: a parse makes hundreds of lookups over every line of
    // a section, and a lower-cased copy of each key cost most of its time.
    const std::string_view lineKey =
        eq == std::string_view::npos ? std::string_view() : quickini::Trim(line.substr(0, eq));
    if (!quickini::EqualsIgnoreCase(lineKey, key)) continue;
    if (eq != std::string_view::npos) {
      std::string_view value = quickini::Trim(line.substr(eq + 1));
      if (!value.empty()) result.assign(value);
    }
    // The first line with the key decides, even when its value is empty.
    break;
  }
  return result;
}

std::int32_t TQuickIni::ReadInteger(std::string_view section, std::string_view key,
                                    std::int32_t def) const {
  std::string s = ReadString(section, key, "");
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.replace(0, 2, "$");
  std::int32_t value = 0;
  return quickini::TryParseInt32(s, value) ? value : def;
}

void TQuickIni::ReadSections(std::vector<std::string>& target) const {
  target.clear();
  target.reserve(m_sections.size());
  for (const SectionEntry& entry : m_sections) {
    std::string_view name = quickini::Trim(entry.header);
    name = name.size() >= 2 ? name.substr(1, name.size() - 2) : std::string_view();
    target.emplace_back(quickini::Trim(name));
  }
}

std::vector<std::string> TQuickIni::ReadSections() const {
  std::vector<std::string> out;
  ReadSections(out);
  return out;
}

}  // namespace corvane
