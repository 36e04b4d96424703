// The converter's entry: the command line in, the exit status out.
#pragma once

#include <string>
#include <vector>

// The converter's whole command line: args[0] is the program name. Returns the
// process exit status.
int plovikMain(const std::vector<std::string>& args);
