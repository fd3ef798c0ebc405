#include "launcher/StoreEncoding.h"

#include "core/SystemText.h"
#include "core/Utf8.h"

namespace corvane {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string Utf16BytesToUtf8(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    units += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  // A lone last byte is half a character: kept as a visible replacement.
  if (bytes.size() % 2) units += u'\uFFFD';
  return Utf16ToUtf8(units);
}

}  // namespace

DecodedStore DecodeStoreBytes(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
    return {Utf16BytesToUtf8(bytes.substr(2), bytes[0] == '\xFE'), StoreEncoding::Utf16};
  if (bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
    // Marked as UTF-8: a stray byte is kept as the character of its value.
    std::string text = IsValidUtf8(bytes) ? std::string(bytes) : Utf16ToUtf8(Utf8ToUtf16(bytes));
    return {std::move(text), StoreEncoding::Utf8WithMark};
  }
  if (IsValidUtf8(bytes)) return {std::string(bytes), StoreEncoding::Utf8};
  return {LegacyCodePageToUtf8(bytes), StoreEncoding::LegacyCodePage};
}

}  // namespace corvane
