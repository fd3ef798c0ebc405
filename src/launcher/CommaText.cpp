#include "launcher/CommaText.h"

namespace corvane {
namespace {

bool IsBlankOrControl(char c) {
  auto code = static_cast<unsigned char>(c);
  return code <= 32;
}

bool NeedsQuotes(const std::string& name) {
  for (char c : name) {
    if (IsBlankOrControl(c) || c == '"' || c == ',') return true;
  }
  return false;
}

}  // namespace

std::string JoinCommaText(const std::vector<std::string>& names) {
  if (names.size() == 1 && names.front().empty()) return "\"\"";
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += ',';
    const std::string& name = names[i];
    if (!NeedsQuotes(name)) {
      text += name;
      continue;
    }
    text += '"';
    for (char c : name) {
      if (c == '"') text += '"';
      text += c;
    }
    text += '"';
  }
  return text;
}

std::vector<std::string> SplitCommaText(std::string_view text) {
  // Zero-terminated semantics: nothing after a NUL byte was ever seen by the
  // readers of these files.
  if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
  std::vector<std::string> names;
  size_t p = 0;
  const size_t end = text.size();
  auto skipBlanks = [&] {
    while (p < end && IsBlankOrControl(text[p])) ++p;
  };
  skipBlanks();
  while (p < end) {
    std::string name;
    if (text[p] == '"') {
      ++p;
      while (p < end) {
        if (text[p] == '"') {
          if (p + 1 < end && text[p + 1] == '"') {
            name += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        name += text[p++];
      }
    } else {
      size_t start = p;
      while (p < end && !IsBlankOrControl(text[p]) && text[p] != ',') ++p;
      name.assign(text.substr(start, p - start));
    }
    names.push_back(std::move(name));
    skipBlanks();
    if (p < end && text[p] == ',') {
      if (p + 1 == end) names.emplace_back();
      ++p;
      skipBlanks();
    }
  }
  return names;
}

std::string CommaTextForStore(const std::vector<std::string>& names) {
  std::string text = JoinCommaText(names);
  if (text.size() >= 2 && text.front() == text.back() &&
      (text.front() == '"' || text.front() == '\''))
    return '"' + text + '"';
  return text;
}

}  // namespace corvane
