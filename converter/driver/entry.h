#pragma once

#include <string>
#include <vector>

class ConversionJob;

// The converter's whole command line: args[0] is the program name. Returns the
// process exit status.
int plovikMain(const std::vector<std::string>& args);

// Applies every option in `args` (positional arguments included) to the job.
// False when an option is the last argument and so has no value. Throws
// Failure (InvalidOption) for a real-project option without a value or with
// a malformed one, naming it.
bool applyOptions(ConversionJob& job, const std::vector<std::string>& args);
