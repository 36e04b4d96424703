#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

void fuzzFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
  std::abort();
}

std::string grownInput(const char* data, std::size_t size, std::size_t growTo) {
  const std::string_view input(data, size);
  if (growTo == 0) return std::string(input);
  const std::size_t first = input.find('\0');
  const std::size_t second = first == std::string_view::npos ? first : input.find('\0', first + 1);
  std::string_view head, unit = input, tail;
  if (second != std::string_view::npos) {
    head = input.substr(0, first);
    unit = input.substr(first + 1, second - first - 1);
    tail = input.substr(second + 1);
  }
  std::string text(head);
  for (std::size_t repeat = 0; !unit.empty() && text.size() < growTo; ++repeat) {
    for (const char c : unit) {
      if (c == '\1') text += std::to_string(repeat);
      else text += c;
    }
  }
  return text.append(tail);
}
