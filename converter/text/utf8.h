// UTF-8, the encoding of the texts the converter writes as JSON and of the
// characters entities name.
#pragma once

#include <string>
#include <string_view>

// Whether `text` is well-formed UTF-8: no stray continuation byte, no
// overlong form, no surrogate, nothing above U+10FFFF.
bool isUtf8(std::string_view text);

// `text` with every byte that is no part of well-formed UTF-8 shown as "?",
// for a message about such a text.
std::string shownAsUtf8(std::string_view text);

// Appends the character `code` as UTF-8; false for no character at all
// (zero, or above U+10FFFF).
bool appendUtf8(std::string& out, unsigned long code);
