#include "driver/normalise_path.h"

#include "platform/platform.h"
#include "text/path.h"

namespace {

std::optional<std::string> driveDirectory(char drive) {
  std::string directory;
  if (!platform::driveCurrentDirectory(drive, directory)) return std::nullopt;
  return directory;
}

}  // namespace

std::string normalisePath(const std::string& path) {
  std::string current;
  if (!path::isRooted(path)) platform::currentDirectory(current);
  return normalisePath(path, current);
}

std::string normalisePath(const std::string& path, const std::string& current) {
  return path::absolute(path, current, driveDirectory);
}
