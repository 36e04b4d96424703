// Runs a fuzz harness once on every file of the folders (or files) named on
// its command line: the seed corpus and every input that ever made the
// harness fail. Built without libFuzzer, so the ordinary test runs (plain and
// sanitizer builds) keep these inputs working.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The inputs below `where`, in name order so every run is the same; a missing
// folder holds none (an empty regressions folder is not kept by git). Names
// beginning with a dot are bookkeeping, not inputs.
std::vector<fs::path> inputsIn(const fs::path& where) {
  std::vector<fs::path> inputs;
  std::error_code error;
  if (fs::is_regular_file(where, error)) return {where};
  for (fs::directory_iterator it(where, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.empty() && name[0] != '.' && it->is_regular_file()) inputs.push_back(it->path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    for (const fs::path& input : inputsIn(argv[i])) {
      const std::vector<std::uint8_t> bytes = bytesOf(input);
      std::printf("%s\n", input.string().c_str());
      std::fflush(stdout);
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  // No input at all means the folders were named wrongly, not that all is well.
  return count > 0 ? 0 : 1;
}
