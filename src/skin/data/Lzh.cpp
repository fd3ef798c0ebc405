#include "skin/data/Lzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <utility>

namespace corvane {

namespace {

constexpr int kRingSize = 4096;
constexpr int kLookAhead = 60;
constexpr int kThreshold = 2;
constexpr int kLiteralCount = 256;
constexpr int kSymbolCount = kLiteralCount - kThreshold + kLookAhead;  // 314
constexpr int kTableSize = 2 * kSymbolCount - 1;                      // 627
constexpr int kRoot = kTableSize - 1;
constexpr unsigned kMaxFreq = 0x8000;
constexpr int kInitialWrite = kRingSize - kLookAhead;  // 4036

// The position prefix code: upper value u occupies a run of first-byte
// values whose length halves as the code grows longer.
struct PositionTables {
  std::array<std::uint8_t, 256> upper{};
  std::array<std::uint8_t, 256> length{};
  // Encoder side: the first 8 bits of each upper value's code and its length.
  std::array<std::uint8_t, 64> codeByte{};
  std::array<std::uint8_t, 64> codeLength{};
};

constexpr PositionTables MakePositionTables() {
  // (number of upper values, first-byte values each, code length)
  constexpr int groups[6][3] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
  PositionTables t;
  int index = 0;
  int value = 0;
  for (const auto& g : groups) {
    for (int v = 0; v < g[0]; ++v, ++value) {
      t.codeByte[value] = static_cast<std::uint8_t>(index);
      t.codeLength[value] = static_cast<std::uint8_t>(g[2]);
      for (int k = 0; k < g[1]; ++k, ++index) {
        t.upper[index] = static_cast<std::uint8_t>(value);
        t.length[index] = static_cast<std::uint8_t>(g[2]);
      }
    }
  }
  return t;
}

constexpr PositionTables kPositions = MakePositionTables();
static_assert(kPositions.upper[0xFF] == 63 && kPositions.length[0xFF] == 8);
static_assert(kPositions.upper[0x20] == 1 && kPositions.upper[0x50] == 4 && kPositions.upper[0x90] == 12);
static_assert(kPositions.upper[0xC0] == 24 && kPositions.upper[0xF0] == 48);

// The adaptive tree shared by decoder and encoder: nodes sorted by frequency,
// children of a node at son[node] and son[node] + 1, leaves marked by son
// values of kTableSize and above.
struct AdaptiveTree {
  std::array<std::uint32_t, kTableSize + 1> freq{};
  std::array<std::uint32_t, kTableSize + kSymbolCount> parent{};
  std::array<std::uint32_t, kTableSize> son{};

  void Start() {
    for (int i = 0; i < kSymbolCount; ++i) {
      freq[i] = 1;
      son[i] = static_cast<std::uint32_t>(i + kTableSize);
      parent[i + kTableSize] = static_cast<std::uint32_t>(i);
    }
    for (int i = 0, j = kSymbolCount; j <= kRoot; i += 2, ++j) {
      freq[j] = freq[i] + freq[i + 1];
      son[j] = static_cast<std::uint32_t>(i);
      parent[i] = parent[i + 1] = static_cast<std::uint32_t>(j);
    }
    // The sentinel stops the upward scan in Update at the table's end.
    freq[kTableSize] = 0xFFFF;
    parent[kRoot] = 0;
  }

  void Rebuild() {
    int j = 0;
    for (int i = 0; i < kTableSize; ++i) {
      if (son[i] >= static_cast<std::uint32_t>(kTableSize)) {
        freq[j] = (freq[i] + 1) / 2;
        son[j] = son[i];
        ++j;
      }
    }
    for (int i = 0, jn = kSymbolCount; jn < kTableSize; i += 2, ++jn) {
      const std::uint32_t f = freq[i] + freq[i + 1];
      int k = jn - 1;
      while (f < freq[k]) --k;
      ++k;
      const auto count = static_cast<std::size_t>(jn - k);
      std::memmove(&freq[k + 1], &freq[k], count * sizeof(freq[0]));
      std::memmove(&son[k + 1], &son[k], count * sizeof(son[0]));
      freq[k] = f;
      son[k] = static_cast<std::uint32_t>(i);
    }
    for (int i = 0; i < kTableSize; ++i) {
      const std::uint32_t k = son[i];
      parent[k] = static_cast<std::uint32_t>(i);
      if (k < static_cast<std::uint32_t>(kTableSize)) parent[k + 1] = static_cast<std::uint32_t>(i);
    }
  }

  void Update(int symbol) {
    if (freq[kRoot] == kMaxFreq) Rebuild();
    UpdateFrom(parent[symbol + kTableSize]);
  }

  // The decoder has just walked down to the leaf and knows every node on
  // the way: climbing back through that record instead of the parent table
  // lets the frequency loads run without waiting on each other. The record
  // holds until the first exchange moves the climb elsewhere.
  void UpdateAlongPath(int symbol, const std::uint32_t* path, int depth) {
    if (freq[kRoot] == kMaxFreq) {
      Update(symbol);
      return;
    }
    for (int i = depth - 1; i >= 0; --i) {
      const std::uint32_t c = path[i];
      const std::uint32_t k = ++freq[c];
      if (k > freq[c + 1]) {
        UpdateFrom(c, k);
        return;
      }
    }
    ++freq[kRoot];
  }

  // Climbs from node c to the root; with k given, freq[c] has already been
  // incremented to k and found larger than its right neighbour.
  void UpdateFrom(std::uint32_t c, std::uint32_t k = 0) {
    if (k != 0) {
      c = Exchange(c, k);
      c = parent[c];
      if (c == 0) return;
    }
    do {
      const std::uint32_t k = ++freq[c];
      if (k > freq[c + 1]) c = Exchange(c, k);
      c = parent[c];
    } while (c != 0);
  }

  // Node c's frequency k now exceeds its right neighbour's: move its subtree
  // past the last node of lower frequency to keep the table sorted. Returns
  // the node's new place.
  std::uint32_t Exchange(std::uint32_t c, std::uint32_t k) {
    std::uint32_t l = c + 1;
    while (k > freq[l + 1]) ++l;
    freq[c] = freq[l];
    freq[l] = k;
    const std::uint32_t i = son[c];
    parent[i] = l;
    if (i < static_cast<std::uint32_t>(kTableSize)) parent[i + 1] = l;
    const std::uint32_t jj = son[l];
    son[l] = i;
    parent[jj] = c;
    if (jj < static_cast<std::uint32_t>(kTableSize)) parent[jj + 1] = c;
    son[c] = jj;
    return l;
  }
};

// MSB-first bits over a span; past its end every bit is zero.
class BitReader {
 public:
  explicit BitReader(std::span<const std::uint8_t> input) : m_input(input) {}

  unsigned Bit() {
    if (m_count == 0) Refill();
    const unsigned bit = static_cast<unsigned>(m_window >> 63);
    m_window <<= 1;
    --m_count;
    ++m_consumed;
    return bit;
  }

  unsigned Byte() {
    if (m_count < 8) Refill();
    const unsigned value = static_cast<unsigned>(m_window >> 56);
    m_window <<= 8;
    m_count -= 8;
    m_consumed += 8;
    return value;
  }

  std::uint64_t BitsConsumed() const { return m_consumed; }

 private:
  void Refill() {
    // Top up to at least 57 bits; the window's low bits are zero on entry.
    while (m_count <= 56) {
      const std::uint64_t byte = m_next < m_input.size() ? m_input[m_next] : 0;
      ++m_next;
      m_window |= byte << (56 - m_count);
      m_count += 8;
    }
  }

  std::span<const std::uint8_t> m_input;
  std::size_t m_next = 0;
  std::uint64_t m_window = 0;
  int m_count = 0;
  std::uint64_t m_consumed = 0;
};

// MSB-first bit writer.
class BitWriter {
 public:
  void Put(std::uint32_t bits, int count) {
    // bits holds count significant bits in its low end; count <= 24.
    m_buffer = (m_buffer << count) | (bits & ((1u << count) - 1));
    m_count += count;
    while (m_count >= 8) {
      m_count -= 8;
      m_out.push_back(static_cast<std::uint8_t>(m_buffer >> m_count));
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (m_count > 0) m_out.push_back(static_cast<std::uint8_t>(m_buffer << (8 - m_count)));
    m_count = 0;
    return std::move(m_out);
  }

 private:
  std::uint64_t m_buffer = 0;
  int m_count = 0;
  std::vector<std::uint8_t> m_out;
};

// The dictionary is the output itself: position o of the output is ring
// position (4036 + o) mod 4096, so everything a match can reach is either
// already produced, part of the initial run of spaces, or the never-written
// tail of the ring, which reads as zero.
std::uint8_t HistoryBefore(std::ptrdiff_t outputIndex) {
  return outputIndex >= -kInitialWrite ? std::uint8_t{' '} : std::uint8_t{0};
}

}  // namespace

const std::uint8_t* LzhPositionUpperTable() { return kPositions.upper.data(); }
const std::uint8_t* LzhPositionLengthTable() { return kPositions.length.data(); }

std::vector<std::uint8_t> TLZH::Decode(std::span<const std::uint8_t> bitStream, std::size_t announcedSize) {
  m_bytesRead = 0;
  if (announcedSize > m_outputLimit)
    throw ElzhException("LZH : announced size " + std::to_string(announcedSize) +
                        " exceeds the limit of " + std::to_string(m_outputLimit) + " bytes");
  std::unique_ptr<AdaptiveTree> tree;
  std::vector<std::uint8_t> out;
  try {
    tree = std::make_unique<AdaptiveTree>();
    out.resize(announcedSize);
  } catch (const std::bad_alloc&) {
    throw ElzhException(kLzhNoMemoryMessage);
  }
  tree->Start();

  BitReader bits(bitStream);
  // A path never visits a node twice, so it is shorter than the table.
  std::array<std::uint32_t, kTableSize> path;
  std::size_t produced = 0;
  std::uint8_t* dst = out.data();
  while (produced < announcedSize) {
    std::uint32_t c = tree->son[kRoot];
    int depth = 0;
    while (c < static_cast<std::uint32_t>(kTableSize)) {
      const std::uint32_t node = c + bits.Bit();
      path[depth++] = node;
      c = tree->son[node];
    }
    const int symbol = static_cast<int>(c) - kTableSize;
    tree->UpdateAlongPath(symbol, path.data(), depth);
    if (symbol < kLiteralCount) {
      dst[produced++] = static_cast<std::uint8_t>(symbol);
      continue;
    }
    unsigned b = bits.Byte();
    const unsigned upper = static_cast<unsigned>(kPositions.upper[b]) << 6;
    for (int extra = kPositions.length[b] - 2; extra > 0; --extra) b = (b << 1) + bits.Bit();
    const std::ptrdiff_t distance = static_cast<std::ptrdiff_t>(upper | (b & 0x3F)) + 1;
    std::size_t length = static_cast<std::size_t>(symbol - (kLiteralCount - 1 - kThreshold));
    // A match may run past the announced size in a forged stream; the extra
    // bytes have nowhere to go and decoding ends with them.
    length = std::min(length, announcedSize - produced);
    const std::ptrdiff_t from = static_cast<std::ptrdiff_t>(produced) - distance;
    std::uint8_t* to = dst + produced;
    if (from >= 0 && distance >= static_cast<std::ptrdiff_t>(length)) {
      std::memcpy(to, dst + from, length);
    } else if (from >= 0) {
      // Overlapping copies repeat the bytes they have just written: a run
      // of one byte, or a pattern of distance bytes copied a pattern at a time.
      if (distance == 1) {
        std::memset(to, to[-1], length);
      } else {
        const auto step = static_cast<std::size_t>(distance);
        std::size_t k = 0;
        for (; k + step <= length; k += step) std::memcpy(to + k, to + k - step, step);
        for (; k < length; ++k) to[k] = to[k - step];
      }
    } else {
      for (std::size_t k = 0; k < length; ++k) {
        const std::ptrdiff_t at = from + static_cast<std::ptrdiff_t>(k);
        to[k] = at >= 0 ? dst[at] : HistoryBefore(at);
      }
    }
    produced += length;
  }
  // A reader that keeps 9 or more bits buffered has fetched one byte beyond
  // the last bit it used (bits past the span cost nothing).
  const std::uint64_t used = bits.BitsConsumed();
  if (used > 0) {
    const std::uint64_t fetched = (used - 1) / 8 + 2;
    m_bytesRead = fetched < bitStream.size() ? static_cast<std::size_t>(fetched) : bitStream.size();
  }
  return out;
}

std::vector<std::uint8_t> LzhDecode(std::span<const std::uint8_t> bitStream, std::size_t announcedSize,
                                    std::size_t outputLimit) {
  TLZH lzh;
  lzh.SetOutputLimit(outputLimit);
  return lzh.Decode(bitStream, announcedSize);
}

std::vector<std::uint8_t> DecodeSkinStream(std::span<const std::uint8_t> skinStream, std::size_t outputLimit) {
  std::uint32_t size = 0;
  for (std::size_t i = 0; i < 4 && i < skinStream.size(); ++i) size |= std::uint32_t{skinStream[i]} << (8 * i);
  if (size > static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())) return {};
  const auto bitStream = skinStream.size() > 4 ? skinStream.subspan(4) : std::span<const std::uint8_t>();
  return LzhDecode(bitStream, size, outputLimit);
}

namespace {

// Longest-match search over the decoder's own view of history: 4036 spaces
// followed by the data, of which the last 4096 bytes are reachable.
class MatchFinder {
 public:
  static constexpr int kHashBits = 15;
  static constexpr int kMaxChain = 256;

  explicit MatchFinder(std::span<const std::uint8_t> data)
      : m_text(static_cast<std::size_t>(kInitialWrite) + data.size(), ' '),
        m_prev(NoPositions(m_text.size())) {
    for (auto& block : m_head) block = NoPositions(kHeadBlock);
    if (!data.empty()) std::memcpy(m_text.data() + kInitialWrite, data.data(), data.size());
    for (int p = 0; p < kInitialWrite; ++p) Insert(p);
  }

  // Best (length, distance) at text position pos, length capped at limit.
  std::pair<int, int> Find(int pos, int limit) const {
    int bestLength = 0;
    int bestDistance = 0;
    if (limit <= kThreshold || static_cast<std::size_t>(pos) + 3 > m_text.size()) return {0, 0};
    const std::uint8_t* here = m_text.data() + pos;
    int candidate = Head(Hash(pos));
    for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain, candidate = m_prev[candidate]) {
      const int distance = pos - candidate;
      if (distance > kRingSize) break;
      const std::uint8_t* there = m_text.data() + candidate;
      if (there[bestLength] != here[bestLength]) continue;
      int length = 0;
      while (length < limit && there[length] == here[length]) ++length;
      if (length > bestLength) {
        bestLength = length;
        bestDistance = distance;
        if (length >= limit) break;
      }
    }
    if (bestLength <= kThreshold) return {0, 0};
    return {bestLength, bestDistance};
  }

  void Insert(int pos) {
    if (static_cast<std::size_t>(pos) + 3 > m_text.size()) return;
    const std::uint32_t h = Hash(pos);
    m_prev[pos] = Head(h);
    Head(h) = pos;
  }

 private:
  std::uint32_t Hash(int pos) const {
    const std::uint8_t* p = m_text.data() + pos;
    const std::uint32_t v = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  // A table of text positions with every entry -1 (none), cleared in one
  // sweep rather than entry by entry.
  static std::unique_ptr<int[]> NoPositions(std::size_t count) {
    auto table = std::make_unique_for_overwrite<int[]>(count);
    std::memset(table.get(), 0xFF, count * sizeof(int));
    return table;
  }

  // The hash heads are kept in blocks of 64 KB. The codec's fuzzer encodes
  // every input, and its sanitizer maps each block above 128 KB fresh from
  // the system: faulting in a 128 KB table cost more than encoding the input.
  static constexpr std::size_t kHeadBlock = std::size_t{1} << 14;
  int& Head(std::uint32_t hash) { return m_head[hash / kHeadBlock][hash % kHeadBlock]; }
  int Head(std::uint32_t hash) const { return m_head[hash / kHeadBlock][hash % kHeadBlock]; }

  std::vector<std::uint8_t> m_text;
  std::array<std::unique_ptr<int[]>, (std::size_t{1} << kHashBits) / kHeadBlock> m_head;
  std::unique_ptr<int[]> m_prev;
};

void EncodeSymbol(AdaptiveTree& tree, BitWriter& out, int symbol) {
  // Path bits are gathered leaf to root, then sent root first.
  std::array<std::uint8_t, kTableSize> path;
  int depth = 0;
  std::uint32_t node = tree.parent[symbol + kTableSize];
  while (node != static_cast<std::uint32_t>(kRoot)) {
    path[depth++] = static_cast<std::uint8_t>(node & 1u);
    node = tree.parent[node];
  }
  std::uint32_t acc = 0;
  int pending = 0;
  while (depth > 0) {
    acc = (acc << 1) | path[--depth];
    if (++pending == 16) {
      out.Put(acc, 16);
      acc = 0;
      pending = 0;
    }
  }
  if (pending > 0) out.Put(acc, pending);
  tree.Update(symbol);
}

}  // namespace

std::vector<std::uint8_t> LzhEncode(std::span<const std::uint8_t> data) {
  if (data.empty()) return {};
  auto tree = std::make_unique<AdaptiveTree>();
  tree->Start();
  MatchFinder finder(data);
  BitWriter out;
  const int end = kInitialWrite + static_cast<int>(data.size());
  auto limitAt = [end](int at) { return std::min(kLookAhead, end - at); };
  auto literal = [&](int at) {
    EncodeSymbol(*tree, out, data[static_cast<std::size_t>(at - kInitialWrite)]);
  };
  auto match = [&](int length, int distance) {
    EncodeSymbol(*tree, out, length + (kLiteralCount - 1 - kThreshold));
    const unsigned position = static_cast<unsigned>(distance - 1);
    const unsigned upper = position >> 6;
    const int codeLength = kPositions.codeLength[upper];
    out.Put(kPositions.codeByte[upper] >> (8 - codeLength), codeLength);
    out.Put(position & 0x3F, 6);
  };
  // A position is searched before it is inserted, so it never finds itself.
  int pos = kInitialWrite;
  std::pair<int, int> pending{0, 0};
  bool havePending = false;
  while (pos < end) {
    const std::pair<int, int> found = havePending ? pending : finder.Find(pos, limitAt(pos));
    havePending = false;
    const auto [length, distance] = found;
    if (length == 0) {
      literal(pos);
      finder.Insert(pos);
      ++pos;
      continue;
    }
    finder.Insert(pos);
    if (length < limitAt(pos) && pos + 1 < end) {
      // One step of lookahead: a longer match starting at the next byte is
      // worth a literal now.
      pending = finder.Find(pos + 1, limitAt(pos + 1));
      if (pending.first > length) {
        literal(pos);
        ++pos;
        havePending = true;
        continue;
      }
    }
    match(length, distance);
    for (int k = 1; k < length; ++k) finder.Insert(pos + k);
    pos += length;
  }
  return out.Finish();
}

std::vector<std::uint8_t> EncodeSkinStream(std::span<const std::uint8_t> package) {
  if (package.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    throw std::length_error("a skin package must be smaller than 2 GB");
  const auto size = static_cast<std::uint32_t>(package.size());
  std::vector<std::uint8_t> stream{static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                                   static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 24)};
  const std::vector<std::uint8_t> coded = LzhEncode(package);
  stream.insert(stream.end(), coded.begin(), coded.end());
  return stream;
}

}  // namespace corvane
