#include "building/compiler_program.h"

#include <algorithm>
#include <vector>

#include "building/variables.h"

namespace {

// The commands of a shell list, split at ";", "&&" and "||" outside quotes.
std::vector<std::string_view> commandsOf(std::string_view text) {
  std::vector<std::string_view> commands;
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"') ++i;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '\\') {
      ++i;
    } else if (c == ';' || ((c == '&' || c == '|') && i + 1 < text.size() && text[i + 1] == c)) {
      commands.push_back(text.substr(start, i - start));
      if (c != ';') ++i;
      start = i + 1;
    }
  }
  commands.push_back(text.substr(std::min(start, text.size())));
  return commands;
}

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

std::string compilerProgram(std::string_view command, const WordExpander& expand) {
  const std::vector<std::string_view> commands = commandsOf(command);
  std::string_view chosen;
  for (const std::string_view one : commands) {
    if (one.find_first_not_of(" \t") != std::string_view::npos) chosen = one;
  }
  for (const std::string_view one : commands) {
    if (one.find("%InFile%") != std::string_view::npos) chosen = one;
  }
  for (std::string word : shellWords(chosen)) {
    if (isPlaceholder(word) || isSetting(word)) continue;
    if (expand) word = expand(word);
    if (word.find("$(") == std::string::npos) return word;
    const std::size_t separator = word.find_last_of("/\\");
    if (separator != std::string::npos) {
      std::string name = word.substr(separator + 1);
      return name.find("$(") == std::string::npos ? name : std::string();
    }
    while (word.starts_with("$(")) {
      const std::size_t close = word.find(')');
      if (close == std::string::npos) return {};
      word.erase(0, close + 1);
    }
    if (word.find("$(") != std::string::npos) return {};
    return word;
  }
  return {};
}
