// A downloaded update-information file is whatever a server sent: any bytes
// must parse, and a file that never mentions the key must announce nothing.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzFlags.h"
#include "components/UpdateInfo.h"

// An update-information file is a few lines.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=1024"}, {}};

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  corvane::UpdateFileInfo info = corvane::ParseUpdateInfo(text);

  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower.find("corvane") == std::string::npos && info.newest != 1) std::abort();
  if (info.downloadPage.size() > size) std::abort();

  // Every number the profile layer writes must read back as itself.
  if (size >= 4) {
    std::int32_t n;
    std::copy(data, data + 4, reinterpret_cast<std::uint8_t*>(&n));
    if (corvane::ProfileInteger(std::to_string(n), n ^ 1) != n) std::abort();
  }
  return 0;
}
