// Windows only: one argument of a command line, quoted so that the child's C
// runtime (and Wine, for a host program it starts) splits the command line
// back into exactly this string.
#pragma once

#include <string>

std::string quoteArgument(const std::string& arg);
