// Which items of a long list repeat an earlier one. Sorting hashes is far
// cheaper, in time and memory, than a table of the texts when there are
// hundreds of thousands of them.
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
  std::vector<std::pair<std::size_t, std::uint32_t>> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = {hash(i), static_cast<std::uint32_t>(i)};
  std::sort(order.begin(), order.end());
  std::vector<bool> repeated(count, false);
  for (std::size_t run = 0; run < order.size();) {
    std::size_t end = run + 1;
    while (end < order.size() && order[end].first == order[run].first) ++end;
    // Within a run of equal hashes (in index order), an item equal to an
    // earlier one is a repeat.
    for (std::size_t i = run + 1; i < end; ++i) {
      for (std::size_t j = run; j < i; ++j) {
        if (!repeated[order[j].second] && equal(order[j].second, order[i].second)) {
          repeated[order[i].second] = true;
          break;
        }
      }
    }
    run = end;
  }
  return repeated;
}
