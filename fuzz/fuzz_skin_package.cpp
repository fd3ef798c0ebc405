// Any byte string, taken as a package or as a skin stream, must load or be
// refused, and every file a loaded package lists must extract within bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "FuzzFlags.h"
#include "skin/data/Lzh.h"
#include "skin/data/SkinPackage.h"

// A package of a definition and small pictures fits in 4 KB.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=4096"}, {}};

namespace {
constexpr std::size_t kOutputLimit = 1u << 16;
// Every listed picture is decoded. The BMP target fuzzes the decoder at the
// program's own limits; here a forged header of a megapixel would only make
// each input allocate and fill 4 MB per entry, so pictures stay small.
constexpr corvane::PictureLimits kPictureLimits{256, 1 << 14};

void Exercise(std::span<const std::uint8_t> package) {
  corvane::TSkinReader reader;
  if (!reader.LoadPackage(package)) {
    if (reader.Count() != 0 || reader.LastError().empty()) std::abort();
    return;
  }
  std::size_t total = 0;
  for (std::size_t i = 0; i < reader.Count(); ++i) {
    const auto& entry = reader.Entries()[i];
    total += entry.size;
    std::vector<std::uint8_t> bytes;
    const bool found = reader.ExtractFile(entry.name, bytes);
    if (!found || bytes.size() > total) std::abort();
    if (reader.FileAt(i).size() != entry.size) std::abort();
    (void)reader.FetchBitmap(entry.name, kPictureLimits);
  }
  if (total > package.size()) std::abort();
  std::vector<std::uint8_t> ini;
  std::string name;
  (void)reader.ExtractFirstContaining(".ini", ini, name);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Exercise(bytes);
  try {
    const std::vector<std::uint8_t> package = corvane::DecodeSkinStream(bytes, kOutputLimit);
    Exercise(package);
  } catch (const corvane::ElzhException&) {
  }
  // The property payload reader either takes the stream or throws.
  std::vector<std::uint8_t> held;
  try {
    if (corvane::ReadSkinStreamProperty(bytes, held) && held.size() + 4 > size) std::abort();
  } catch (const corvane::SkinPackageError&) {
  }
  return 0;
}
