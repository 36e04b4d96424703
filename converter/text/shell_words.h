// Command lines as a shell reads them, for the compiler commands of a build
// description: words, and the commands of a list.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Words of a command-line fragment as a shell splits them: white space
// separates, double and single quotes group (and are removed), a backslash
// keeps the next character.
std::vector<std::string> shellWords(std::string_view text);

// The commands of a shell list, split at ";", "&&" and "||" outside quotes,
// as written (quotes kept).
std::vector<std::string_view> shellCommands(std::string_view text);

// The same, one command at a time: a list of millions of commands ("&&&&...")
// needs no list of them.
void forEachShellCommand(std::string_view text, const std::function<void(std::string_view)>& use);
