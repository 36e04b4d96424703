// A set of bytes as a table, for scanners that skip runs of plain bytes.
#pragma once

#include <array>
#include <string_view>

constexpr std::array<bool, 256> bytesOf(std::string_view bytes) {
  std::array<bool, 256> in{};
  for (const char c : bytes) in[static_cast<unsigned char>(c)] = true;
  return in;
}
