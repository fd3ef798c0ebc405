#include "components/UpdateInfo.h"

#include <cstdint>
#include <limits>
#include <optional>

namespace corvane {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The profile layer hands back a value without one pair of enclosing quotes.
std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// The first value of key in section, or nothing. A downloaded file is
// untrusted text: lines may end in CR LF, LF or nothing, and may be huge.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section,
                                          std::string_view key) {
  bool inSection = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      std::string_view name =
          Trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
      inSection = EqualNoCase(name, section);
      continue;
    }
    if (!inSection) continue;
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualNoCase(Trim(line.substr(0, equals)), key))
      return Unquote(Trim(line.substr(equals + 1)));
  }
  return std::nullopt;
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

}  // namespace

int ProfileInteger(std::string_view value, int fallback) {
  value = Trim(value);
  int base = 10;
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    base = 16;
    value.remove_prefix(2);
  }
  bool negative = false;
  if (base == 10 && !value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return fallback;
  // Accumulate in 64 bits and refuse anything a 32-bit integer cannot hold,
  // so a hostile file cannot wrap the number into an "update".
  std::int64_t result = 0;
  for (char c : value) {
    int digit = DigitValue(c, base);
    if (digit < 0) return fallback;
    result = result * base + digit;
    if (result > std::int64_t{std::numeric_limits<std::uint32_t>::max()}) return fallback;
  }
  if (base == 16) return static_cast<int>(static_cast<std::uint32_t>(result));
  if (negative) result = -result;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min())
    return fallback;
  return static_cast<int>(result);
}

UpdateFileInfo ParseUpdateInfo(std::string_view text) {
  UpdateFileInfo info;
  // Servers and editors often save with a UTF-8 byte-order mark, which would
  // otherwise hide the first section header.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (auto newest = FindValue(text, "Updates", "corvane")) info.newest = ProfileInteger(*newest, 1);
  if (auto page = FindValue(text, "Updates", "newcorvane")) info.downloadPage = std::string(*page);
  return info;
}

}  // namespace corvane
