#include "text/shell_words.h"

#include <algorithm>

#include "text/byte_set.h"

namespace {

// The bytes outside quotes that a list of commands turns on, and those that
// end a run of plain characters in a word.
constexpr auto kCommandSyntax = bytesOf("\"'\\;&|");
constexpr auto kWordSyntax = bytesOf("\"'\\ \t\n\r\v\f");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::vector<std::string> shellWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < text.size() &&
               (text[i + 1] == '"' || text[i + 1] == '\\')) word += text[++i];
      else word += c;
    } else if (isSpace(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      inWord = true;
      if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '\\' && i + 1 < text.size()) {
        word += text[++i];
      } else {
        // The plain characters up to the next space, quote or backslash
        // are taken at once: a command may hold a hundred thousand words.
        std::size_t end = i + 1;
        while (end < text.size() && !kWordSyntax[static_cast<unsigned char>(text[end])]) ++end;
        word.append(text, i, end - i);
        i = end - 1;
      }
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::vector<std::string_view> shellCommands(std::string_view text) {
  std::vector<std::string_view> commands;
  forEachShellCommand(text, [&](std::string_view command) { commands.push_back(command); });
  return commands;
}

void forEachShellCommand(std::string_view text, const std::function<void(std::string_view)>& use) {
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    // Between the bytes that quote, escape or separate, nothing to do: a
    // command may run to megabytes of options.
    while (quote == 0 && i < text.size() && !kCommandSyntax[static_cast<unsigned char>(text[i])]) {
      ++i;
    }
    if (i == text.size()) break;
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
      use(text.substr(start, i - start));
      if (c != ';') ++i;
      start = i + 1;
    }
  }
  use(text.substr(std::min(start, text.size())));
}
