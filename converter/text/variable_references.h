// Variable references, $(NAME), as make and Workbench write them: the one
// place that finds them in a text.
#pragma once

#include <cstddef>
#include <string>
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

// The same as make reads a text: "$$" is one "$", which begins no
// reference ("$$(hostname)" is the shell's, "$$$(A)" a "$" and A).
template <typename Use>
std::size_t forEachMakeReference(std::string_view text, Use use) {
  std::size_t pos = 0;
  std::size_t at = text.find('$');
  while (at != std::string_view::npos && at + 1 < text.size()) {
    if (text[at + 1] != '(') {
      at = text.find('$', at + (text[at + 1] == '$' ? 2 : 1));
      continue;
    }
    const std::size_t close = text.find(')', at + 2);
    if (close == std::string_view::npos) return pos;
    use(at, close + 1, text.substr(at + 2, close - at - 2));
    pos = close + 1;
    at = text.find('$', pos);
  }
  return pos;
}

// Where the first reference at or after `from` begins, as make reads it;
// npos for none. `from` must not fall between the two of a "$$".
inline std::size_t makeReferenceAt(std::string_view text, std::size_t from = 0) {
  for (std::size_t at = text.find('$', from); at != std::string_view::npos && at + 1 < text.size();
       at = text.find('$', at + (text[at + 1] == '$' ? 2 : 1))) {
    if (text[at + 1] == '(') return at;
  }
  return std::string_view::npos;
}

inline bool holdsMakeReference(std::string_view text) {
  return makeReferenceAt(text) != std::string_view::npos;
}

// Make's "$$" as the one "$" it stands for, in place.
inline void takeDollarsLiterally(std::string& text) {
  std::size_t at = text.find("$$");
  if (at == std::string::npos) return;
  std::size_t kept = at;
  for (std::size_t i = at; i < text.size(); ++i) {
    text[kept++] = text[i];
    if (text[i] == '$' && i + 1 < text.size() && text[i + 1] == '$') ++i;
  }
  text.resize(kept);
}
