// Variable references, $(NAME), as make and Workbench write them: the one
// place that finds them in a text.
#pragma once

#include <cstddef>
#include <string_view>

// Whether `text` holds the start of a reference at all.
inline bool holdsReference(std::string_view text) { return text.find("$(") != std::string_view::npos; }

// Whether a reference's name is one: not empty, and no reference inside it
// ("$(A$(B))" names nothing the converter can look up).
inline bool isVariableName(std::string_view name) { return !name.empty() && !holdsReference(name); }

// Calls `use(begin, end, name)` for each $(NAME) of `text`, in order: where
// the reference begins, where it ends (after its ")") and the name between.
// A "$(" without a ")" after it ends the search; returns where the last
// reference found ended (0 for none), so that the caller can tell.
template <typename Use>
std::size_t forEachReference(std::string_view text, Use use) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = text.find("$(", pos);
    const std::size_t close = open == std::string_view::npos ? open : text.find(')', open + 2);
    if (close == std::string_view::npos) return pos;
    use(open, close + 1, text.substr(open + 2, close - open - 2));
    pos = close + 1;
  }
}
