#pragma once

#include <string>

// The current directory; empty when none can be read. A run reads it once
// and makes every path absolute against that.
std::string currentFolder();

// Makes a command-line path absolute against the current directory. Nothing
// else is done to it: "." and ".." parts, trailing separators and letter case
// stay as typed, and no separator is looked for before one is appended.
std::string absolutePath(const std::string& path);

// The same against `current`, the current directory read once by the caller
// (empty: none could be read), for making many paths absolute.
std::string absolutePath(const std::string& path, const std::string& current);
