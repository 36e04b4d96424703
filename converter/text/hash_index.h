// Items of the caller's own list found by their hashes: one flat array of
// small slots searched by open addressing, at most half full, so that a
// look-up among hundreds of thousands of names costs about one cache miss
// (a table of nodes misses at each step). Each slot keeps an item's hash and
// its place in the list, so the table grows without reading an item again;
// the caller says which item is which (`same(place)`), asked only of items
// whose hashes are equal.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class HashIndex {
 public:
  static constexpr std::size_t npos = ~std::size_t{0};

  // Room for `count` items without growing.
  void reserve(std::size_t count) {
    if (count * 2 > slots.size()) rebuild(roomFor(count));
  }

  // The place of the item with `hash` for which `same(place)` holds; npos
  // for none.
  template <typename Same>
  std::size_t find(std::size_t hash, Same same) const {
    if (slots.empty()) return npos;
    const Slot& slot = slots[slotOf(static_cast<std::uint32_t>(hash), same)];
    return slot.place == 0 ? npos : slot.place - 1;
  }

  // The same; when there is none, `place` is added under `hash` and npos
  // comes back.
  template <typename Same>
  std::size_t findOrAdd(std::size_t hash, std::size_t place, Same same) {
    if ((count + 1) * 2 > slots.size()) rebuild(std::max<std::size_t>(16, slots.size() * 2));
    Slot& slot = slots[slotOf(static_cast<std::uint32_t>(hash), same)];
    if (slot.place != 0) return slot.place - 1;
    slot = {static_cast<std::uint32_t>(hash), static_cast<std::uint32_t>(place + 1)};
    ++count;
    return npos;
  }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t place = 0;  // the item's place plus one; 0 for a free slot
  };

  static std::size_t roomFor(std::size_t count) {
    std::size_t size = 16;
    while (size < count * 2) size *= 2;
    return size;
  }

  // The slot holding the item, or else the free one where it belongs.
  template <typename Same>
  std::size_t slotOf(std::uint32_t hash, Same& same) const {
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots[i];
      if (slot.place == 0 || (slot.hash == hash && same(std::size_t{slot.place - 1}))) return i;
    }
  }

  void rebuild(std::size_t size) {
    std::vector<Slot> old(size);
    old.swap(slots);
    const std::size_t mask = size - 1;
    for (const Slot& slot : old) {
      if (slot.place == 0) continue;
      std::size_t i = slot.hash & mask;
      while (slots[i].place != 0) i = (i + 1) & mask;
      slots[i] = slot;
    }
  }

  std::vector<Slot> slots;  // empty, or a power of two in size
  std::size_t count = 0;
};
