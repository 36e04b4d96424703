// A table from a name to a text, for the build description reader's build
// macros and project folders: looked up by name only, never walked in order.
// A build description can hold hundreds of thousands of macro entries, so the
// entries are found through a HashIndex (about one cache miss per entry), and
// the texts are copied into an arena that is given back all at once.
#pragma once

#include <cstdint>
#include <memory_resource>
#include <string_view>
#include <vector>

#include "text/hash_index.h"

class LookupTable {
 public:
  // Sets `name` to `value`, replacing an earlier value of the same name.
  void set(std::string_view name, std::string_view value);

  // The value set for `name`; the empty text when there is none. The view
  // stays valid as long as the table does.
  std::string_view get(std::string_view name) const;
  // Whether `name` is set at all, to an empty value too.
  bool contains(std::string_view name) const;

  std::size_t size() const { return entries.size(); }

 private:
  struct Entry {
    std::string_view name;
    std::string_view value;  // at the start of `room` bytes of the arena
    char* storage = nullptr;
    std::size_t room = 0;
  };
  static std::size_t hashOf(std::string_view name);
  // The place in `entries` of `name`; HashIndex::npos for none.
  std::size_t find(std::string_view name) const;
  std::string_view keep(std::string_view text);
  void store(Entry& entry, std::string_view value);

  std::pmr::monotonic_buffer_resource arena;
  std::vector<Entry> entries;
  HashIndex index;  // of `entries`, by name
};
