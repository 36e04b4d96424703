// JSON string literals of the converter's texts.
#pragma once

#include "text/utf8.h"

#include <string>
#include <string_view>

// Appends `utf8` to `out` as a JSON string, quotes included: quotation marks,
// backslashes and control characters escaped, every other byte as it is.
// The text must be UTF-8 (see isUtf8).
void appendJsonString(std::string& out, std::string_view utf8);

// `json` made the JSON string of `text`, a text of the system (on Windows
// in the ANSI code page); false when it is not UTF-8. `buffer` is reused.
bool jsonOf(const std::string& text, std::string& json, std::string& buffer);
bool jsonOf(const std::string& text, std::string& json);
