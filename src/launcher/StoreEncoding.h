// How the link store's bytes become text: UTF-8 now; stores written by
// earlier versions in the 8-bit code page of the user's locale, and stores
// another program saved as UTF-16, are read too and written as UTF-8 at the
// next save. Portable core: never include <windows.h> here.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

enum class StoreEncoding {
  Utf8,            // no byte-order mark, valid UTF-8 (any plain ASCII file too)
  Utf8WithMark,    // a UTF-8 byte-order mark
  LegacyCodePage,  // no mark and bytes that are not UTF-8: an earlier version's file
  Utf16,           // a UTF-16 byte-order mark, either byte order
};

struct DecodedStore {
  std::string text;  // UTF-8, without a byte-order mark
  StoreEncoding encoding = StoreEncoding::Utf8;
};

// Decides per file, never per line: a file that is not valid UTF-8 as a
// whole is read in the locale's code page as a whole. Nothing is dropped:
// bytes no decoding accepts become characters of the same byte value.
DecodedStore DecodeStoreBytes(std::string_view bytes);

}  // namespace corvane
