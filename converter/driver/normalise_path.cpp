#include "driver/normalise_path.h"

#include "platform/platform.h"

namespace {

// D:sub\f is relative to the directory the system keeps for drive D. When that
// cannot be found, the drive's root stands in, so a later "could not open"
// still names the drive the user typed.
std::string resolveDriveRelative(const std::string& path) {
  std::string driveDir;
  if (!platform::driveCurrentDirectory(path[0], driveDir)) {
    driveDir = path.substr(0, 2) + platform::separator;
  }
  return driveDir + platform::separator + path.substr(2);
}

// Rooted at the top of the file system or of a drive: nothing to put in front.
bool isAbsolute(const std::string& path) {
  if (platform::hasDriveLetters && path.size() >= 2 && path[1] == ':') {
    return path.size() >= 3 && path[2] == platform::separator;
  }
  return !path.empty() && path[0] == platform::separator;
}

}  // namespace

std::string normalisePath(const std::string& path) {
  std::string current;
  if (!isAbsolute(path)) platform::currentDirectory(current);
  return normalisePath(path, current);
}

std::string normalisePath(const std::string& path, const std::string& current) {
  constexpr char sep = platform::separator;
  if (platform::hasDriveLetters && path.size() >= 2 && path[1] == ':') {
    if (path.size() >= 3 && path[2] == sep) return path;
    return resolveDriveRelative(path);
  }
  if (isAbsolute(path)) return path;
  // Without a current directory there is nothing to make the path absolute
  // against; the run then names the path as typed when it cannot open it.
  if (current.empty()) return path;
  if (path == ".") return current;
  return current + sep + path;
}
