#pragma once

#include <fstream>
#include <string>

// Opens a file to be read as bytes. A folder is refused like a missing file:
// some systems open it as a stream that only fails on the first read, which
// would pass for an empty or broken file. False, with the stream failed, when
// nothing could be opened.
bool openInputFile(std::ifstream& in, const std::string& path);

// Passes over a UTF-8 byte order mark at the start of `in`, as some Windows
// editors save one; anything else is left unread.
void skipByteOrderMark(std::istream& in);
