#include "text/utf8.h"

namespace {

// The length of the sequence that `lead` starts and the smallest and largest
// second byte it allows; 0 for a byte that starts none.
struct Lead {
  int length;
  unsigned char low;
  unsigned char high;
};

Lead leadOf(unsigned char c) {
  if (c < 0x80) return {1, 0, 0};
  if (c >= 0xc2 && c <= 0xdf) return {2, 0x80, 0xbf};
  if (c == 0xe0) return {3, 0xa0, 0xbf};                 // no overlong form
  if (c == 0xed) return {3, 0x80, 0x9f};                 // no surrogate
  if (c >= 0xe1 && c <= 0xef) return {3, 0x80, 0xbf};
  if (c == 0xf0) return {4, 0x90, 0xbf};                 // no overlong form
  if (c >= 0xf1 && c <= 0xf3) return {4, 0x80, 0xbf};
  if (c == 0xf4) return {4, 0x80, 0x8f};                 // nothing above U+10FFFF
  return {0, 0, 0};
}

bool isContinuation(unsigned char c) { return c >= 0x80 && c <= 0xbf; }

// The length of the well-formed sequence at `i`, 0 for none.
std::size_t sequenceAt(std::string_view text, std::size_t i) {
  const Lead lead = leadOf(static_cast<unsigned char>(text[i]));
  if (lead.length == 0 || text.size() - i < static_cast<std::size_t>(lead.length)) return 0;
  if (lead.length > 1) {
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < lead.low || second > lead.high) return 0;
    for (int k = 2; k < lead.length; ++k) {
      if (!isContinuation(static_cast<unsigned char>(text[i + k]))) return 0;
    }
  }
  return static_cast<std::size_t>(lead.length);
}

}  // namespace

bool isUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = sequenceAt(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string shownAsUtf8(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = sequenceAt(text, i);
    if (length == 0) {
      shown += '?';
      ++i;
      continue;
    }
    shown.append(text.substr(i, length));
    i += length;
  }
  return shown;
}

bool appendUtf8(std::string& out, unsigned long code) {
  if (code == 0 || code > 0x10FFFF) return false;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return true;
}

std::size_t controlLengthAt(std::string_view text, std::size_t at, bool utf8) {
  const auto byte = static_cast<unsigned char>(text[at]);
  if (byte < 0x20 || byte == 0x7f) return 1;
  if (utf8 && byte == 0xC2 && at + 1 < text.size()) {
    const auto next = static_cast<unsigned char>(text[at + 1]);
    if (next >= 0x80 && next <= 0x9F) return 2;
  }
  return 0;
}
