#include "text/lookup_table.h"

#include <algorithm>
#include <functional>

void LookupTable::set(std::string_view name, std::string_view value) {
  if (2 * (entries.size() + 1) > slots.size()) grow();
  const std::uint32_t hash = hashOf(name);
  Slot& slot = slots[find(name, hash)];
  if (slot.entry != 0) {
    store(entries[slot.entry - 1], value);
    return;
  }
  entries.push_back({keep(name), {}});
  store(entries.back(), value);
  slot = {hash, static_cast<std::uint32_t>(entries.size())};
}

std::string_view LookupTable::get(std::string_view name) const {
  if (slots.empty()) return {};
  const Slot& slot = slots[find(name, hashOf(name))];
  return slot.entry == 0 ? std::string_view() : entries[slot.entry - 1].value;
}

bool LookupTable::contains(std::string_view name) const {
  return !slots.empty() && slots[find(name, hashOf(name))].entry != 0;
}

std::uint32_t LookupTable::hashOf(std::string_view name) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
}

std::size_t LookupTable::find(std::string_view name, std::uint32_t hash) const {
  const std::size_t mask = slots.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots[i];
    if (slot.entry == 0) return i;
    if (slot.hash == hash && entries[slot.entry - 1].name == name) return i;
  }
}

void LookupTable::grow() {
  const std::vector<Slot> old = std::move(slots);
  slots.assign(std::max<std::size_t>(16, 2 * old.size()), Slot{});
  const std::size_t mask = slots.size() - 1;
  for (const Slot& slot : old) {
    if (slot.entry == 0) continue;
    std::size_t i = slot.hash & mask;
    while (slots[i].entry != 0) i = (i + 1) & mask;
    slots[i] = slot;
  }
}

// The arena gives nothing back, so a name that is set again reuses its value's
// room, grown by doubling when too small: a file that sets one macro a million
// times keeps about four times its longest value, not a million copies.
void LookupTable::store(Entry& entry, std::string_view value) {
  if (value.size() > entry.room) {
    entry.room = std::max(value.size(), 2 * entry.room);
    entry.storage = static_cast<char*>(arena.allocate(entry.room, 1));
  }
  if (value.empty()) {
    entry.value = {};
    return;
  }
  std::copy(value.begin(), value.end(), entry.storage);
  entry.value = {entry.storage, value.size()};
}

std::string_view LookupTable::keep(std::string_view text) {
  if (text.empty()) return {};
  char* copy = static_cast<char*>(arena.allocate(text.size(), 1));
  std::copy(text.begin(), text.end(), copy);
  return {copy, text.size()};
}
