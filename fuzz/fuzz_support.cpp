#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>

void fuzzFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
  std::abort();
}
