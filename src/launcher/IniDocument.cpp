#include "launcher/IniDocument.h"

#include <algorithm>
#include <cstdint>

#include "core/SystemText.h"
#include "core/Utf8.h"
#include "launcher/StoreEncoding.h"

namespace corvane {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// ASCII letters fold to upper case, as the system's mapping folds them, so
// a name in plain ASCII never needs the system.
char Fold(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasLineBreakOrNul(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::optional<std::string> CommonNameProblem(std::string_view name, const char* what) {
  // The file is judged whole when read: one stray byte that is not UTF-8
  // would make every other name in it read in the old code page.
  if (!IsValidUtf8(name)) return std::string(what) + " must be valid UTF-8 text";
  if (HasLineBreakOrNul(name))
    return std::string(what) + " cannot contain a line break or a NUL character";
  if (!name.empty() && (IsBlank(name.front()) || IsBlank(name.back())))
    return std::string(what) + " cannot begin or end with a blank";
  return std::nullopt;
}

// Name of a header line: the text between "[" and the first "]", or the rest
// of the line when a hand edit lost the "]".
std::string_view HeaderName(std::string_view trimmedLine) {
  std::string_view inner = trimmedLine.substr(1);
  if (size_t close = inner.find(']'); close != std::string_view::npos)
    inner = inner.substr(0, close);
  return Trim(inner);
}

}  // namespace

std::string FoldedName(std::string_view name) {
  if (!IsAscii(name)) return UpperCaseText(name);
  std::string folded(name);
  for (char& c : folded) c = Fold(c);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  if (IsAscii(a) && IsAscii(b)) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
      if (Fold(a[i]) != Fold(b[i])) return false;
    }
    return true;
  }
  return FoldedName(a) == FoldedName(b);
}

std::optional<std::string> SectionNameProblem(std::string_view name) {
  if (auto problem = CommonNameProblem(name, "A section name")) return problem;
  if (name.find(']') != std::string_view::npos) return "A section name cannot contain \"]\"";
  return std::nullopt;
}

std::optional<std::string> KeyNameProblem(std::string_view name) {
  if (auto problem = CommonNameProblem(name, "A key name")) return problem;
  if (name.find('=') != std::string_view::npos) return "A key name cannot contain \"=\"";
  // Such a line would read back as a section header.
  if (!name.empty() && name.front() == '[') return "A key name cannot begin with \"[\"";
  return std::nullopt;
}

std::optional<std::string> ValueProblem(std::string_view value) {
  if (!IsValidUtf8(value)) return "A value must be valid UTF-8 text";
  if (HasLineBreakOrNul(value)) return "A value cannot contain a line break or a NUL character";
  return std::nullopt;
}

std::optional<int> ParseStoreInteger(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    std::string_view digits = text.substr(2);
    if (digits.size() > 8) {
      // Leading zeros do not make a number too big.
      size_t first = digits.find_first_not_of('0');
      if (first == std::string_view::npos) return 0;
      digits = digits.substr(first);
      if (digits.size() > 8) return std::nullopt;
    }
    uint32_t value = 0;
    for (char c : digits) {
      int digit;
      if (c >= '0' && c <= '9')
        digit = c - '0';
      else if (c >= 'a' && c <= 'f')
        digit = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F')
        digit = c - 'A' + 10;
      else
        return std::nullopt;
      value = value * 16 + static_cast<uint32_t>(digit);
    }
    // Eight hex digits fill 32 bits: 0xFFFFFFFF is -1, as a 32-bit reader sees it.
    return static_cast<int>(static_cast<int32_t>(value));
  }
  size_t p = 0;
  bool negative = false;
  if (p < text.size() && (text[p] == '+' || text[p] == '-')) negative = text[p++] == '-';
  if (p == text.size()) return std::nullopt;
  int64_t value = 0;
  for (; p < text.size(); ++p) {
    char c = text[p];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
  return static_cast<int>(value);
}

std::string_view IniDocument::Line::Key() const {
  return Trim(std::string_view(text).substr(0, keyEnd));
}

std::string_view IniDocument::Line::Value() const {
  return Trim(std::string_view(text).substr(keyEnd + 1));
}

size_t IniDocument::FoldedHash::operator()(std::string_view s) const {
  // Hashes the folded form SameName compares, so equal names meet.
  std::string folded;
  if (!IsAscii(s)) s = folded = UpperCaseText(s);
  uint64_t h = 1469598103934665603ull;
  for (char c : s) {
    h ^= static_cast<unsigned char>(Fold(c));
    h *= 1099511628211ull;
  }
  return static_cast<size_t>(h);
}

IniDocument IniDocument::Parse(std::string_view fileBytes) {
  IniDocument doc;
  DecodedStore decoded = DecodeStoreBytes(fileBytes);
  doc.m_encoding = decoded.encoding;
  // A file marked as Unicode stays marked when it is written back as UTF-8.
  doc.m_byteOrderMark =
      decoded.encoding == StoreEncoding::Utf8WithMark || decoded.encoding == StoreEncoding::Utf16;
  std::string_view bytes = decoded.text;
  size_t p = 0;
  while (p < bytes.size()) {
    size_t end = bytes.find_first_of("\r\n", p);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(p, end - p);
    p = end;
    if (p < bytes.size())
      p += (bytes[p] == '\r' && p + 1 < bytes.size() && bytes[p + 1] == '\n') ? 2 : 1;

    std::string_view trimmed = Trim(line);
    if (!trimmed.empty() && trimmed.front() == '[') {
      Section section;
      section.header.assign(line);
      section.name.assign(HeaderName(trimmed));
      doc.m_index.try_emplace(section.name, doc.m_sections.size());
      doc.m_sections.push_back(std::move(section));
    } else if (doc.m_sections.empty()) {
      doc.m_preamble.emplace_back(line);
    } else {
      doc.m_sections.back().lines.push_back(Line{std::string(line), line.find('=')});
    }
  }
  return doc;
}

std::string IniDocument::Serialize() const {
  std::string out;
  if (m_byteOrderMark) out += kByteOrderMark;
  for (const std::string& line : m_preamble) out.append(line).append("\r\n");
  for (const Section& section : m_sections) {
    out.append(section.header).append("\r\n");
    for (const Line& line : section.lines) out.append(line.text).append("\r\n");
  }
  return out;
}

const IniDocument::Section* IniDocument::FindSection(std::string_view name) const {
  auto it = m_index.find(name);
  return it == m_index.end() ? nullptr : &m_sections[it->second];
}

const IniDocument::Line* IniDocument::FindLine(const Section& section, std::string_view key) {
  for (const Line& line : section.lines) {
    if (line.keyEnd != std::string::npos && SameName(line.Key(), key)) return &line;
  }
  return nullptr;
}

void IniDocument::RebuildIndex() {
  m_index.clear();
  for (size_t i = 0; i < m_sections.size(); ++i) m_index.try_emplace(m_sections[i].name, i);
}

std::optional<std::string_view> IniDocument::FindValue(std::string_view section,
                                                       std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  const Line* line = FindLine(*found, key);
  if (!line) return std::nullopt;
  return line->Value();
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  std::optional<std::string_view> found = FindValue(section, key);
  if (!found) return std::string(defaultValue);
  std::string_view value = *found;
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == '"' || value.front() == '\''))
    value = value.substr(1, value.size() - 2);
  if (size_t nul = value.find('\0'); nul != std::string_view::npos) value = value.substr(0, nul);
  return std::string(CutToCharacters(value, kMaxValueLength));
}

int IniDocument::ReadInteger(std::string_view section, std::string_view key,
                             int defaultValue) const {
  return ParseStoreInteger(ReadString(section, key, "")).value_or(defaultValue);
}

void IniDocument::ReadSections(std::vector<std::string>& list) const {
  list.clear();
  size_t used = 1;  // the zero byte that ends the list
  for (const Section& section : m_sections) {
    used += section.name.size() + 1;
    if (used > kSectionListBuffer) break;
    list.push_back(section.name);
  }
}

bool IniDocument::HasSection(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool IniDocument::WriteString(std::string_view section, std::string_view key,
                              std::string_view value) {
  auto it = m_index.find(section);
  if (it == m_index.end()) {
    // A blank line before a new section, as people lay these files out.
    std::vector<std::string>* lastLines = &m_preamble;
    std::string_view last;
    if (!m_sections.empty()) {
      Section& tail = m_sections.back();
      last = tail.lines.empty() ? std::string_view(tail.header)
                                : std::string_view(tail.lines.back().text);
    } else if (!m_preamble.empty()) {
      last = m_preamble.back();
    }
    if (!Trim(last).empty()) {
      if (m_sections.empty())
        lastLines->emplace_back();
      else
        m_sections.back().lines.push_back(Line{std::string(), std::string::npos});
    }
    Section added;
    added.header = "[" + std::string(section) + "]";
    added.name.assign(section);
    added.lines.push_back(Line{std::string(key) + "=" + std::string(value), key.size()});
    m_index.try_emplace(added.name, m_sections.size());
    m_sections.push_back(std::move(added));
    return true;
  }
  Section& target = m_sections[it->second];
  for (Line& line : target.lines) {
    if (line.keyEnd == std::string::npos || !SameName(line.Key(), key)) continue;
    // Keep the key's spelling from the file; only the value changes.
    std::string keyText(line.Key());
    std::string text = keyText + "=" + std::string(value);
    if (text == line.text) return false;
    line.text = std::move(text);
    line.keyEnd = keyText.size();
    return true;
  }
  // New keys go after the section's last non-blank line, not after the blank
  // lines that separate it from the next section.
  auto insertAt = target.lines.end();
  while (insertAt != target.lines.begin() && Trim(std::prev(insertAt)->text).empty()) --insertAt;
  target.lines.insert(insertAt, Line{std::string(key) + "=" + std::string(value), key.size()});
  return true;
}

bool IniDocument::EraseSection(std::string_view section) {
  size_t before = m_sections.size();
  std::erase_if(m_sections, [&](const Section& s) { return SameName(s.name, section); });
  if (m_sections.size() == before) return false;
  RebuildIndex();
  return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  auto it = m_index.find(section);
  if (it == m_index.end()) return false;
  auto& lines = m_sections[it->second].lines;
  size_t before = lines.size();
  std::erase_if(lines, [&](const Line& line) {
    return line.keyEnd != std::string::npos && SameName(line.Key(), key);
  });
  return lines.size() != before;
}

}  // namespace corvane
