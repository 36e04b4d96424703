#include "reading/build_markers.h"

namespace {

constexpr auto npos = std::string_view::npos;

}  // namespace

std::optional<std::string_view> textBeforeLastQuote(std::string_view line, std::size_t start) {
  const std::size_t quote = line.rfind('"');
  if (quote == npos || quote < start) return std::nullopt;
  return line.substr(start, quote - start);
}

bool closesItself(std::string_view line, std::size_t at) {
  const std::size_t close = line.find('>', at);
  return close != npos && close > at && line[close - 1] == '/';
}

void dropFront(std::string_view& text, std::size_t count) {
  text.remove_prefix(std::min(count, text.size()));
}

std::string_view keyOf(std::string_view line, std::size_t at) {
  const std::size_t start = line.find(kKeyText, at) + kKeyText.size();
  const std::size_t end = line.find('"', start);
  return line.substr(start, end == npos ? npos : end - start);
}
