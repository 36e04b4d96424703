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

// The bytes of the control character that begins at `at`: 1 for C0 and DEL;
// 2 for C1 (U+0080 to U+009F, the bytes C2 80 to C2 9F) where `utf8`, since
// U+009B begins an escape sequence as ESC [ does; 0 for none. Where names are
// bytes of an ANSI code page (`utf8` false), 0x80 to 0x9F are letters.
std::size_t controlLengthAt(std::string_view text, std::size_t at, bool utf8);
