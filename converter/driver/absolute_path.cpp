#include "driver/absolute_path.h"

#include "platform/platform.h"
#include "text/path.h"

namespace {

std::optional<std::string> driveDirectory(char drive) {
  std::string directory;
  if (!platform::driveCurrentDirectory(drive, directory)) return std::nullopt;
  return directory;
}

}  // namespace

std::string currentFolder() {
  std::string current;
  platform::currentDirectory(current);
  return current;
}

std::string absolutePath(const std::string& path) {
  return absolutePath(path, path::isRooted(path) ? std::string() : currentFolder());
}

std::string absolutePath(const std::string& path, const std::string& current) {
  return path::absolute(path, current, driveDirectory);
}
