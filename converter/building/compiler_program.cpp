#include "building/compiler_program.h"

#include <algorithm>

#include "text/path.h"
#include "text/variable_references.h"

namespace {

bool isPlaceholder(const std::string& word) {
  return word.size() >= 2 && word.front() == '%' && word.back() == '%';
}

bool isSetting(const std::string& word) {
  const std::size_t equals = word.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  for (std::size_t i = 0; i < equals; ++i) {
    const char c = word[i];
    const bool nameChar = c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                          (i > 0 && c >= '0' && c <= '9');
    if (!nameChar) return false;
  }
  return true;
}

}  // namespace

std::size_t programWordOf(const std::vector<std::string>& words) {
  std::size_t at = 0;
  while (at < words.size() && (isPlaceholder(words[at]) || isSetting(words[at]))) ++at;
  return at;
}

std::string programNamed(std::string word) {
  if (!holdsReference(word)) return word;
  // Where a variable has no value, the program's file name: a path cut
  // short by the missing part would name no program.
  const std::string_view name = path::fileName(word);
  if (name.size() != word.size()) return holdsReference(name) ? std::string() : std::string(name);
  // "$(TOOL_PATH)dcc": the references in front of the name go.
  std::size_t start = 0;
  forEachReference(word, [&](std::size_t begin, std::size_t end, std::string_view) {
    if (begin == start) start = end;
  });
  const std::string_view rest = std::string_view(word).substr(start);
  return holdsReference(rest) ? std::string() : std::string(rest);
}
