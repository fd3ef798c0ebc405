// Any byte string must decode to exactly the announced size (capped so one
// input cannot take much memory) without reading outside the input; and any
// data must survive an encode and decode unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "FuzzFlags.h"
#include "skin/data/Lzh.h"

// A kilobyte of coded bits is about a thousand symbols, more than the
// decoder has states; the long outputs come from the size fields.
const corvane::fuzzing::TargetFlags corvane::fuzzing::kTargetFlags{{"-max_len=1024"}, {}};

namespace {
constexpr std::size_t kOutputLimit = 1u << 16;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  // As a skin stream: size field then coded bits, with the size folded into
  // the limit so most inputs decode rather than being refused.
  if (size >= 4) {
    // Up to 32 bytes of output per input byte: enough to use every coded bit
    // (a symbol takes 8 or more bits and gives 1 to 60 bytes) and to run on
    // past the end, where bits read as zero, without every run decoding
    // thousands of symbols. The limit itself is checked below.
    const std::size_t cap = std::min(kOutputLimit / 4, 32 * size);
    const std::size_t announced =
        (std::size_t{data[0]} | (std::size_t{data[1]} << 8) | (std::size_t{data[2]} << 16)) % (cap + 1);
    corvane::TLZH lzh;
    lzh.SetOutputLimit(kOutputLimit);
    const std::vector<std::uint8_t> out = lzh.Decode(bytes.subspan(4), announced);
    if (out.size() != announced || lzh.BytesRead() > size - 4) std::abort();
  }
  try {
    (void)corvane::DecodeSkinStream(bytes, kOutputLimit);
  } catch (const corvane::ElzhException&) {
  }
  // As plain data: the encoder must reproduce it exactly.
  const std::vector<std::uint8_t> coded = corvane::LzhEncode(bytes);
  if (corvane::LzhDecode(coded, size) != std::vector<std::uint8_t>(bytes.begin(), bytes.end())) std::abort();
  return 0;
}
