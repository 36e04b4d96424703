// Helpers shared by the fuzz harnesses: a scratch folder that lives as long as
// the fuzzing process, and writing an input to a file in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

// A folder under the system's temporary folder, made on first use and removed
// when the process ends normally.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& label);
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::filesystem::path& path() const { return root; }

 private:
  std::filesystem::path root;
};

// Writes the bytes to `path`, replacing what was there; aborts when it cannot,
// since every later result of the harness would then be meaningless.
void writeInput(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size);

// Stops the harness with a message: a broken property is a finding.
[[noreturn]] void fuzzFailure(const std::string& what);
