// Which items of a long list repeat an earlier one. A table of the items'
// hashes is far cheaper, in time and memory, than a table of the texts when
// there are hundreds of thousands of them, and cheaper in time than sorting
// the hashes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// For each of `count` items, whether it equals an earlier one; the first of
// each is kept. `hash(i)` must be equal for equal items; `equal(i, j)` is
// asked only of items whose hashes are equal.
template <typename Hash, typename Equal>
std::vector<bool> repeatedItems(std::size_t count, Hash hash, Equal equal) {
  std::vector<bool> repeated(count, false);
  // Open addressing, at most half full: each slot an item's hash and its
  // place plus one (0: free). Only the first of each item is placed, so a
  // search meets each different item of its hash once.
  std::size_t size = 16;
  while (size < count * 2) size *= 2;
  std::vector<std::pair<std::size_t, std::uint32_t>> slots(size);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t hashed = hash(i);
    std::size_t at = hashed & (size - 1);
    for (; slots[at].second != 0; at = (at + 1) & (size - 1)) {
      if (slots[at].first == hashed && equal(slots[at].second - 1, i)) {
        repeated[i] = true;
        break;
      }
    }
    if (!repeated[i]) slots[at] = {hashed, static_cast<std::uint32_t>(i + 1)};
  }
  return repeated;
}
