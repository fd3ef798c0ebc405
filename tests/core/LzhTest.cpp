#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "skin/data/Lzh.h"

namespace corvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FromText(std::string_view s) { return Bytes(s.begin(), s.end()); }

Bytes RandomBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

// Rows of a 24-bit picture: flat bands, a gradient and a few edges, the way
// skin artwork compresses.
Bytes BitmapLike(std::size_t n) {
  Bytes out;
  out.reserve(n);
  for (std::size_t i = 0; out.size() < n; ++i) {
    const std::size_t x = (i % 531), y = i / 531;
    std::uint8_t b = 0xEC, g = 0xE2, r = 0xE3;
    if (x < 4 || y % 37 < 2) b = 0xA6, g = 0x5B, r = 0x40;
    else if (x > 400) b = static_cast<std::uint8_t>(0x80 + (x - 400) / 2);
    for (std::uint8_t c : {b, g, r})
      if (out.size() < n) out.push_back(c);
  }
  return out;
}

Bytes Text(std::size_t n) {
  static const char* words[] = {"[Buttons]\r\n", "TopHeight=3\r\n", "frame", "buttons.bmp", "Trans=1\r\n",
                                "LeftWidth = 4\r\n", "; comment\r\n", "caption", "0x00ECE2E3", "Tile=1\r\n"};
  std::mt19937 rng(7);
  std::string s;
  while (s.size() < n) s += words[rng() % 10];
  s.resize(n);
  return FromText(s);
}

// A literal reading of the decoder: 16-bit bit buffer refilled one byte per
// read, 16-bit tables, and a copy that runs to its full length. It checks the
// fast decoder's bit handling, read accounting and tree upkeep.
struct ReferenceResult {
  Bytes out;
  std::size_t bytesRead = 0;
};

ReferenceResult ReferenceDecode(const Bytes& in, std::int32_t announced) {
  constexpr int N = 4096, F = 60, T = 627, R = 626, NC = 314;
  std::vector<std::uint16_t> freq(T + 1), parent(T + NC), son(T);
  std::vector<std::uint8_t> ring(N + F - 1, 0);
  std::uint16_t buf = 0;
  std::uint8_t count = 0;
  std::size_t pos = 0;
  auto fill = [&] {
    while (count <= 8) {
      std::uint8_t b = 0;
      if (pos < in.size()) b = in[pos++];
      buf = static_cast<std::uint16_t>(buf | (b << (8 - count)));
      count = static_cast<std::uint8_t>(count + 8);
    }
  };
  auto bit = [&] {
    fill();
    int r = buf >> 15;
    buf = static_cast<std::uint16_t>(buf << 1);
    --count;
    return r;
  };
  auto byte = [&] {
    fill();
    int r = buf >> 8;
    buf = static_cast<std::uint16_t>(buf << 8);
    count = static_cast<std::uint8_t>(count - 8);
    return r;
  };
  for (int i = 0; i < NC; ++i) freq[i] = 1, son[i] = static_cast<std::uint16_t>(i + T), parent[i + T] = static_cast<std::uint16_t>(i);
  for (int i = 0, j = NC; j <= R; i += 2, ++j)
    freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]), son[j] = static_cast<std::uint16_t>(i), parent[i] = parent[i + 1] = static_cast<std::uint16_t>(j);
  freq[T] = 0xFFFF;
  parent[R] = 0;
  auto rebuild = [&] {
    int j = 0;
    for (int i = 0; i < T; ++i)
      if (son[i] >= T) freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2), son[j] = son[i], ++j;
    for (int i = 0, jj = NC; jj < T; i += 2, ++jj) {
      std::uint16_t f = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
      int k = jj - 1;
      while (f < freq[k]) --k;
      ++k;
      for (int m = jj; m > k; --m) freq[m] = freq[m - 1], son[m] = son[m - 1];
      freq[k] = f;
      son[k] = static_cast<std::uint16_t>(i);
    }
    for (int i = 0; i < T; ++i) {
      int k = son[i];
      parent[k] = static_cast<std::uint16_t>(i);
      if (k < T) parent[k + 1] = static_cast<std::uint16_t>(i);
    }
  };
  auto update = [&](int s) {
    if (freq[R] == 0x8000) rebuild();
    int c = parent[s + T];
    do {
      int k = ++freq[c];
      if (k > freq[c + 1]) {
        int l = c + 1;
        while (k > freq[l + 1]) ++l;
        freq[c] = freq[l];
        freq[l] = static_cast<std::uint16_t>(k);
        int i = son[c];
        parent[i] = static_cast<std::uint16_t>(l);
        if (i < T) parent[i + 1] = static_cast<std::uint16_t>(l);
        int j = son[l];
        son[l] = static_cast<std::uint16_t>(i);
        parent[j] = static_cast<std::uint16_t>(c);
        if (j < T) parent[j + 1] = static_cast<std::uint16_t>(c);
        son[c] = static_cast<std::uint16_t>(j);
        c = l;
      }
    } while ((c = parent[c]) != 0);
  };
  const std::uint8_t* up = LzhPositionUpperTable();
  const std::uint8_t* len = LzhPositionLengthTable();
  for (int i = 0; i < N - F; ++i) ring[i] = ' ';
  int r = N - F;
  ReferenceResult res;
  std::int32_t produced = 0;
  while (produced < announced) {
    int c = son[R];
    while (c < T) c = son[c + bit()];
    c -= T;
    update(c);
    if (c < 256) {
      res.out.push_back(static_cast<std::uint8_t>(c));
      ring[r] = static_cast<std::uint8_t>(c);
      r = (r + 1) & (N - 1);
      ++produced;
    } else {
      int b = byte();
      int hi = up[b] << 6;
      for (int j = len[b] - 2; j > 0; --j) b = b * 2 + bit();
      int p = hi | (b & 0x3F);
      int i = (r - p - 1) & (N - 1);
      for (int k = 0; k < c - 253; ++k) {
        std::uint8_t v = ring[(i + k) & (N - 1)];
        res.out.push_back(v);
        ring[r] = v;
        r = (r + 1) & (N - 1);
        ++produced;
      }
    }
  }
  res.bytesRead = pos;
  return res;
}

void ExpectRoundTrip(const Bytes& data) {
  const Bytes coded = LzhEncode(data);
  TLZH lzh;
  const Bytes decoded = lzh.Decode(coded, data.size());
  ASSERT_EQ(decoded.size(), data.size());
  EXPECT_TRUE(decoded == data);
  // The whole coded stream, and nothing else, is consumed.
  EXPECT_EQ(lzh.BytesRead(), coded.size());
}

TEST(LzhPositionTables, MatchTheFixedPrefixCode) {
  const std::uint8_t* up = LzhPositionUpperTable();
  const std::uint8_t* len = LzhPositionLengthTable();
  const std::array<std::array<int, 3>, 16> probes{{{0x00, 0, 3},  {0x1F, 0, 3},  {0x20, 1, 4},  {0x2F, 1, 4},
                                                   {0x30, 2, 4},  {0x4F, 3, 4},  {0x50, 4, 5},  {0x57, 4, 5},
                                                   {0x58, 5, 5},  {0x8F, 11, 5}, {0x90, 12, 6}, {0xBF, 23, 6},
                                                   {0xC0, 24, 7}, {0xEF, 47, 7}, {0xF0, 48, 8}, {0xFF, 63, 8}}};
  for (const auto& p : probes) {
    EXPECT_EQ(up[p[0]], p[1]) << "index " << p[0];
    EXPECT_EQ(len[p[0]], p[2]) << "index " << p[0];
  }
  // Every upper value owns 2^(8 - length) consecutive indexes: a prefix code.
  for (int i = 1; i < 256; ++i) {
    EXPECT_GE(up[i], up[i - 1]);
    EXPECT_GE(len[i], len[i - 1]);
  }
  std::array<int, 64> owned{};
  for (int i = 0; i < 256; ++i) ++owned[up[i]];
  for (int v = 0; v < 64; ++v) {
    int first = 0;
    while (up[first] != v) ++first;
    EXPECT_EQ(owned[v], 1 << (8 - len[first])) << "value " << v;
  }
}

TEST(LzhRoundTrip, EmptyAndTinyInputs) {
  EXPECT_TRUE(LzhEncode({}).empty());
  ExpectRoundTrip({});
  ExpectRoundTrip({0x00});
  ExpectRoundTrip({0xFF});
  ExpectRoundTrip(FromText("ab"));
  ExpectRoundTrip(FromText("abc"));
  ExpectRoundTrip(FromText("abcabcabcabc"));
  for (int v = 0; v < 256; ++v) ExpectRoundTrip(Bytes(5, static_cast<std::uint8_t>(v)));
}

TEST(LzhRoundTrip, TextBitmapLikeAndRandom) {
  for (std::size_t n : {100u, 4095u, 4096u, 4097u, 70000u}) {
    SCOPED_TRACE(n);
    ExpectRoundTrip(Text(n));
    ExpectRoundTrip(BitmapLike(n));
    ExpectRoundTrip(RandomBytes(n, static_cast<std::uint32_t>(n)));
  }
}

TEST(LzhRoundTrip, OneMegabyteInputs) {
  const std::size_t mb = 1u << 20;
  const Bytes bitmap = BitmapLike(mb);
  const Bytes coded = LzhEncode(bitmap);
  EXPECT_LT(coded.size(), bitmap.size() / 8) << "flat artwork should compress well";
  EXPECT_TRUE(LzhDecode(coded, mb) == bitmap);
  // Random data forces many tree rebuilds with a flat frequency spread.
  ExpectRoundTrip(RandomBytes(mb, 99));
  ExpectRoundTrip(Bytes(mb, 0));
}

TEST(LzhRoundTrip, RunsUseTheLongestMatches) {
  // 60 bytes per match symbol at most: 6000 equal bytes cannot take fewer
  // than 100 symbols, but a coder that finds them needs only a few hundred bytes.
  const Bytes run(6000, 'x');
  const Bytes coded = LzhEncode(run);
  EXPECT_LT(coded.size(), 400u);
  EXPECT_TRUE(LzhDecode(coded, run.size()) == run);
}

TEST(LzhDecode, AnnouncedSizeZeroReadsNothing) {
  TLZH lzh;
  const Bytes garbage = RandomBytes(64, 1);
  EXPECT_TRUE(lzh.Decode(garbage, 0).empty());
  EXPECT_EQ(lzh.BytesRead(), 0u);
  const Bytes stream{0, 0, 0, 0, 0x12, 0x34};
  EXPECT_TRUE(DecodeSkinStream(stream).empty());
}

TEST(LzhDecode, FirstMatchReachesIntoInitialSpaces) {
  // After "xyz" the nearest three spaces are the dictionary's initial fill:
  // a decoder that did not start from spaces would produce other bytes.
  const Bytes data = FromText("xyz          ");
  const Bytes coded = LzhEncode(data);
  EXPECT_TRUE(LzhDecode(coded, data.size()) == data);
  // Spaces alone: the very first symbol is a match into the fill.
  const Bytes spaces(60, ' ');
  const Bytes codedSpaces = LzhEncode(spaces);
  EXPECT_LE(codedSpaces.size(), 3u);
  EXPECT_TRUE(LzhDecode(codedSpaces, 60) == spaces);
  const ReferenceResult ref = ReferenceDecode(codedSpaces, 60);
  EXPECT_TRUE(ref.out == spaces);
}

TEST(LzhDecode, TruncatedStreamReadsZerosToTheAnnouncedSize) {
  const Bytes data = Text(20000);
  const Bytes coded = LzhEncode(data);
  const Bytes half(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(coded.size() / 2));
  TLZH lzh;
  const Bytes out = lzh.Decode(half, data.size());
  ASSERT_EQ(out.size(), data.size());
  EXPECT_EQ(lzh.BytesRead(), half.size());
  // Missing input behaves exactly like zero bytes.
  Bytes padded = half;
  padded.resize(coded.size() * 4, 0);
  EXPECT_TRUE(LzhDecode(padded, data.size()) == out);
  // And what was there still decodes to the original's beginning.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, data.begin()));
}

TEST(LzhDecode, NothingPastTheAnnouncedSizeIsRead) {
  const Bytes data = BitmapLike(50000);
  const Bytes coded = LzhEncode(data);
  TLZH lzh;
  const Bytes prefix = lzh.Decode(coded, 20000);
  EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), data.begin()));
  const std::size_t used = lzh.BytesRead();
  ASSERT_LT(used, coded.size());
  // Bytes beyond those read cannot influence the result.
  Bytes tampered = coded;
  for (std::size_t i = used; i < tampered.size(); ++i) tampered[i] ^= 0x5A;
  EXPECT_TRUE(lzh.Decode(tampered, 20000) == prefix);
  EXPECT_EQ(lzh.BytesRead(), used);
  // Trailing bytes after a complete stream: the reader's one byte of look-ahead.
  Bytes trailing = coded;
  trailing.insert(trailing.end(), 100, 0xEE);
  EXPECT_TRUE(lzh.Decode(trailing, data.size()) == data);
  EXPECT_EQ(lzh.BytesRead(), coded.size() + 1);
}

TEST(LzhDecode, AgreesWithLiteralDecoderOnArbitraryStreams) {
  for (std::uint32_t seed = 0; seed < 40; ++seed) {
    SCOPED_TRACE(seed);
    const Bytes in = RandomBytes(50 + seed * 37, seed);
    const std::int32_t announced = static_cast<std::int32_t>(seed * 997 % 50000);
    const ReferenceResult ref = ReferenceDecode(in, announced);
    TLZH lzh;
    const Bytes out = lzh.Decode(in, static_cast<std::size_t>(announced));
    ASSERT_EQ(out.size(), static_cast<std::size_t>(announced));
    // A garbage match may run past the announced size; those bytes are dropped.
    ASSERT_GE(ref.out.size(), out.size());
    EXPECT_TRUE(std::equal(out.begin(), out.end(), ref.out.begin()));
    EXPECT_EQ(lzh.BytesRead(), ref.bytesRead);
  }
  // Long enough for several tree rebuilds.
  const Bytes coded = LzhEncode(Text(300000));
  const ReferenceResult ref = ReferenceDecode(coded, 300000);
  EXPECT_TRUE(ref.out == Text(300000));
  EXPECT_EQ(ref.bytesRead, coded.size());
}

TEST(LzhDecode, LimitsAndSkinStreamFraming) {
  TLZH lzh;
  lzh.SetOutputLimit(1000);
  EXPECT_THROW(lzh.Decode({}, 1001), ElzhException);
  EXPECT_EQ(lzh.Decode({}, 1000).size(), 1000u);
  EXPECT_THROW(DecodeSkinStream(Bytes{0x7C, 0x80, 0x03, 0x00}, 229499), ElzhException);
  // The size field is signed: a top bit announces nothing rather than 2 GB.
  EXPECT_TRUE(DecodeSkinStream(Bytes{0x00, 0x00, 0x00, 0x80, 1, 2, 3}).empty());
  // Fewer than four bytes: the missing size bytes are zero.
  EXPECT_EQ(DecodeSkinStream(Bytes{0x03}).size(), 3u);
  const Bytes package = BitmapLike(229500);
  const Bytes stream = EncodeSkinStream(package);
  ASSERT_GE(stream.size(), 4u);
  EXPECT_EQ((Bytes{stream.begin(), stream.begin() + 4}), (Bytes{0x7C, 0x80, 0x03, 0x00}));
  EXPECT_TRUE(DecodeSkinStream(stream) == package);
}

}  // namespace
}  // namespace corvane
