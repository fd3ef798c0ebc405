// The update-information file: where it is fetched from and what it says.
// Portable: reads the file's text with the profile-file rules the rest of
// the program relies on; never includes Windows headers.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The one address of the update-information file; everything that fetches
// it starts from here.
inline constexpr const char* kUpdateInfoUrl =
    "http://updates.corvane.example/updates/updateinfo.ini";

// Name of the downloaded copy in the program's folder.
inline constexpr const char* kUpdateInfoFileName = "updateinfo.ini";

// What an update-information file announces.
struct UpdateFileInfo {
  int newest = 1;            // "Updates"/"corvane"; 1 when missing or not a number
  std::string downloadPage;  // "Updates"/"newcorvane", shown to the user unchanged
};

// Reads the [Updates] section of an update-information file's text. Section
// and key names match without regard to case, blanks around values and one
// pair of enclosing quotes are dropped, and "0x" text is hexadecimal.
UpdateFileInfo ParseUpdateInfo(std::string_view text);

// Reads a value as the profile layer reads an integer: decimal, or hex after
// "0x" when longer than two characters; anything else yields fallback.
int ProfileInteger(std::string_view value, int fallback);

// Whether the file announces a newer update than the program's own number.
inline bool IsUpdateAvailable(const UpdateFileInfo& info, int ownUpdateNumber) {
  return info.newest > ownUpdateNumber;
}

}  // namespace corvane
