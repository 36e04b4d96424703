#include "writing/json_text.h"

#include "platform/platform.h"

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

bool jsonOf(const std::string& text, std::string& json, std::string& buffer) {
  buffer.assign(text);
  if (!platform::systemTextToUtf8(buffer) || !isUtf8(buffer)) return false;
  json.clear();
  appendJsonString(json, buffer);
  return true;
}

bool jsonOf(const std::string& text, std::string& json) {
  std::string buffer;
  return jsonOf(text, json, buffer);
}

void appendJsonString(std::string& out, std::string_view utf8) {
  static constexpr char hex[] = "0123456789abcdef";
  out += '"';
  std::size_t plain = 0;  // start of the bytes not yet appended, which need no escape
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte >= 0x20 && byte != '"' && byte != '\\') continue;
    out.append(utf8.substr(plain, i - plain));
    plain = i + 1;
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        out += "\\u00";
        out += hex[byte >> 4];
        out += hex[byte & 0xf];
    }
  }
  out.append(utf8.substr(plain));
  out += '"';
}
