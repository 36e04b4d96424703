#include "writing/json_text.h"

#include "platform/platform.h"
#include "text/utf8.h"

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
