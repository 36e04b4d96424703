// Line helpers for comparing what the converter prints and writes.
#pragma once

#include <string>
#include <vector>

// Standard output without carriage returns: a Windows console turns "\n" into
// "\r\n" on the way, which is not the converter's doing.
std::string lines(const std::string& out);

// The lines, each ended with CR LF, as the converter writes its files.
std::string crlfLines(const std::vector<std::string>& lines);

// The CR LF ended lines of `text`; a last line without its end is dropped.
std::vector<std::string> splitCrlf(const std::string& text);

// `text` with every `from` replaced by `to`.
std::string replaced(std::string text, const std::string& from, const std::string& to);
