#include "text/entities.h"

#include <charconv>

#include "text/utf8.h"

namespace {

constexpr auto npos = std::string_view::npos;

}  // namespace

std::string decodeEntities(std::string_view text) {
  std::size_t amp = text.find('&');
  if (amp == npos) return std::string(text);  // nearly every value
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  // The first ";" at or after the "&" is kept from one "&" to the next:
  // searching for it afresh each time made "&&&...&;" quadratic. Every "&"
  // too far before it to begin an entity is passed over at once.
  constexpr std::size_t longest = 10;
  std::size_t semicolon = npos;
  for (; amp != npos; amp = text.find('&', amp + 1)) {
    if (semicolon == npos || semicolon < amp) semicolon = text.find(';', amp);
    if (semicolon == npos) break;
    if (semicolon - amp > longest) {
      amp = semicolon - longest - 1;
      continue;
    }
    const std::string_view name = text.substr(amp + 1, semicolon - amp - 1);
    std::string decoded;
    if (name == "quot") decoded = "\"";
    else if (name == "amp") decoded = "&";
    else if (name == "lt") decoded = "<";
    else if (name == "gt") decoded = ">";
    else if (name == "apos") decoded = "'";
    else if (name.size() > 1 && name[0] == '#') {
      const bool hex = name[1] == 'x' || name[1] == 'X';
      const std::string_view digits = name.substr(hex ? 2 : 1);
      unsigned long code = 0;
      const auto [end, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
      if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
          !appendUtf8(decoded, code)) {
        continue;
      }
    } else {
      continue;
    }
    out.append(text.substr(done, amp - done)).append(decoded);
    done = semicolon + 1;
    amp = semicolon;
  }
  out.append(text.substr(done));
  return out;
}
