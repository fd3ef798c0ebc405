// Byte putters for the picture files the tools write: every field of the
// bitmap and icon headers is little-endian whatever the host's byte order.
#pragma once

#include <cstdint>
#include <vector>

namespace corvane::tools {

inline void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}

inline void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace corvane::tools
