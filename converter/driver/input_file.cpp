#include "driver/input_file.h"

#include "platform/platform.h"

bool openInputFile(std::ifstream& in, const std::string& path) {
  if (platform::pathKind(path) == platform::PathKind::Folder) {
    in.setstate(std::ios::failbit);
    return false;
  }
  in.open(path, std::ios::in | std::ios::binary);
  return in.is_open();
}
