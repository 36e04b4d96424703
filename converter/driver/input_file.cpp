#include "driver/input_file.h"

#include <iterator>

#include "platform/platform.h"

bool openInputFile(std::ifstream& in, const std::string& path) {
  if (platform::pathKind(path) == platform::PathKind::Folder) {
    in.setstate(std::ios::failbit);
    return false;
  }
  in.open(path, std::ios::in | std::ios::binary);
  return in.is_open();
}

std::optional<std::string> readInputFile(const std::string& path) {
  std::ifstream in;
  if (!openInputFile(in, path)) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
