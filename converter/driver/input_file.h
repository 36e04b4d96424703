// The one place where the converter opens the files it reads.
#pragma once

#include <fstream>
#include <optional>
#include <string>

// Opens a file to be read as bytes. A folder is refused like a missing file:
// some systems open it as a stream that only fails on the first read, which
// would pass for an empty or broken file. False, with the stream failed, when
// nothing could be opened.
bool openInputFile(std::ifstream& in, const std::string& path);

// The whole file, byte for byte; nothing when it cannot be opened.
std::optional<std::string> readInputFile(const std::string& path);
