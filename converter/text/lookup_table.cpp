#include "text/lookup_table.h"

#include <algorithm>
#include <functional>

void LookupTable::set(std::string_view name, std::string_view value) {
  const std::size_t at = index.findOrAdd(hashOf(name), entries.size(), [&](std::size_t place) {
    return entries[place].name == name;
  });
  if (at != HashIndex::npos) {
    store(entries[at], value);
    return;
  }
  entries.push_back({keep(name), {}});
  store(entries.back(), value);
}

std::string_view LookupTable::get(std::string_view name) const {
  const std::size_t at = find(name);
  return at == HashIndex::npos ? std::string_view() : entries[at].value;
}

bool LookupTable::contains(std::string_view name) const { return find(name) != HashIndex::npos; }

std::size_t LookupTable::hashOf(std::string_view name) {
  return std::hash<std::string_view>{}(name);
}

std::size_t LookupTable::find(std::string_view name) const {
  return index.find(hashOf(name), [&](std::size_t place) { return entries[place].name == name; });
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
