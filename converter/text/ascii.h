// Letter case of ASCII letters only, as the "C" locale has it: names,
// extensions and drive letters are compared this way on every system, and
// bytes above 127 (UTF-8 or a code page) are never changed.
#pragma once

#include <string>
#include <string_view>

namespace ascii {

constexpr bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
constexpr char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

inline std::string lowered(std::string text) {
  for (char& c : text) c = lower(c);
  return text;
}

}  // namespace ascii
