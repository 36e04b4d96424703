#include "fuzz_support.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder(const std::string& label) {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    fs::path candidate = fs::temp_directory_path() /
        ("plovik-fuzz-" + label + "-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) {
      root = candidate;
      return;
    }
    if (error) fuzzFailure("cannot make a scratch folder: " + error.message());
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(root, ignored);
}

void writeInput(const fs::path& path, const std::uint8_t* data, std::size_t size) {
  // A new file rather than a truncated one: some file systems flush a file
  // that was cut to length 0 when it is closed, which slows fuzzing tenfold.
  std::error_code ignored;
  fs::remove(path, ignored);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  if (!out) fuzzFailure("cannot write the input file " + path.string());
}

void fuzzFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
  std::abort();
}
