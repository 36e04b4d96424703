// Helpers shared by the fuzz harnesses.
#pragma once

#include <string>

// Stops the harness with a message: a broken property is a finding.
[[noreturn]] void fuzzFailure(const std::string& what);
