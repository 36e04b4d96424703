// Which items of a long list repeat an earlier one. A table of the items'
// hashes is far cheaper, in time and memory, than a table of the texts when
// there are hundreds of thousands of them, and cheaper in time than sorting
// the hashes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "text/hash_index.h"

// For each of `count` items, whether it equals an earlier one; the first of
// each is kept. `hash(i)` must be equal for equal items; `equal(i, j)` is
// asked only of items whose hashes are equal.
template <typename Hash, typename Equal>
std::vector<bool> repeatedItems(std::size_t count, Hash hash, Equal equal) {
  std::vector<bool> repeated(count, false);
  // Only the first of each item is placed, so a search meets each different
  // item of its hash once.
  HashIndex index;
  index.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const auto same = [&](std::size_t earlier) { return equal(earlier, i); };
    repeated[i] = index.findOrAdd(hash(i), i, same) != HashIndex::npos;
  }
  return repeated;
}
