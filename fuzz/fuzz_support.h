// Helpers shared by the fuzz harnesses.
#pragma once

#include <cstddef>
#include <string>

// Stops the harness with a message: a broken property is a finding.
[[noreturn]] void fuzzFailure(const std::string& what);

// The input to read: `data` as it is, or, in the builds made with
// PLOVIK_FUZZ_REPEAT_TO, grown to that size, so that a reading that is
// quadratic in some shape takes past the one-second limit. The input is
// HEAD \0 UNIT \0 TAIL (or only UNIT), read as HEAD, UNIT repeated, TAIL; each
// \1 byte of UNIT becomes the number of its repeat, so that the repeats can
// name a hundred thousand different variables or links.
std::string grownInput(const char* data, std::size_t size, std::size_t growTo);
