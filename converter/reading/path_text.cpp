#include "reading/path_text.h"

#include <vector>

#include "platform/platform.h"

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

bool hasDrive(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' &&
         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

bool isAbsolutePath(std::string_view path) {
  if (!path.empty() && isSeparator(path[0])) return true;
  return hasDrive(path) && path.size() >= 3 && isSeparator(path[2]);
}

std::string comparablePath(std::string_view path, std::string_view base) {
  std::string whole = isAbsolutePath(path) ? std::string(path)
                                           : std::string(base) + platform::separator + std::string(path);
  std::string prefix;
  std::size_t start = 0;
  if (hasDrive(whole)) {
    prefix = whole.substr(0, 2);
    start = 2;
  }
  std::vector<std::string_view> parts;
  const std::string_view rest = std::string_view(whole).substr(start);
  std::size_t from = 0;
  while (from <= rest.size()) {
    std::size_t end = from;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    const std::string_view part = rest.substr(from, end - from);
    if (part == "..") {
      if (!parts.empty() && parts.back() != "..") parts.pop_back();
      else if (!isAbsolutePath(whole)) parts.push_back(part);
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    from = end + 1;
  }
  std::string result = prefix;
  if (isAbsolutePath(whole)) result += platform::separator;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) result += platform::separator;
    result += parts[i];
  }
  return result;
}

bool leavesFolder(std::string_view relative) {
  std::size_t depth = 0;
  std::size_t from = 0;
  while (from <= relative.size()) {
    std::size_t end = from;
    while (end < relative.size() && !isSeparator(relative[end])) ++end;
    const std::string_view part = relative.substr(from, end - from);
    if (part == "..") {
      if (depth == 0) return true;
      --depth;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    from = end + 1;
  }
  return false;
}
