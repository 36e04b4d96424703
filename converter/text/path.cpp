#include "text/path.h"

#include <vector>

namespace path {

namespace {

// Calls `use` with each part of `text` between separators, empty ones
// included, until it returns false; false when it did.
template <typename Use>
bool forEachPart(std::string_view text, Style style, Use use) {
  std::size_t from = 0;
  while (from <= text.size()) {
    std::size_t end = from;
    while (end < text.size() && !isSeparator(text[end], style)) ++end;
    if (!use(text.substr(from, end - from))) return false;
    from = end + 1;
  }
  return true;
}

// The system's rule for a drive: any character before a ":" names one.
bool namesDrive(std::string_view path, Style style) {
  return style == Style::windows && path.size() >= 2 && path[1] == ':';
}

// Whether `path` is already its own comparable form: rooted at `sep`, with
// parts that are all named, joined by `sep` alone. Most paths are, and
// come back as they are without being cut into parts.
bool isComparableForm(std::string_view path, char sep) {
  if (path.empty() || path[0] != sep) return false;
  std::size_t from = 1;  // where the part being read begins
  for (std::size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && !isSeparator(path[i], workbench)) continue;
    const std::string_view part = path.substr(from, i - from);
    if (part.empty() || part == "." || part == "..") return false;
    if (i < path.size() && path[i] != sep) return false;
    from = i + 1;
  }
  return true;
}

}  // namespace

std::string join(std::string_view folder, std::string_view name, Style style) {
  std::string joined;
  joined.reserve(folder.size() + 1 + name.size());
  joined.append(folder);
  append(joined, name, style);
  return joined;
}

void append(std::string& folder, std::string_view name, Style style) {
  folder.push_back(separator(style));
  folder.append(name);
}

std::optional<std::string_view> extension(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos) return std::nullopt;
  return path.substr(dot + 1);
}

bool isRooted(std::string_view path, Style style) {
  if (namesDrive(path, style)) return path.size() >= 3 && path[2] == separator(style);
  return !path.empty() && path[0] == separator(style);
}

std::string absolute(const std::string& path, const std::string& current,
                     const DriveDirectory& drive, Style style) {
  if (namesDrive(path, style) && !isRooted(path, style)) {
    // D:sub\f is relative to the directory the system keeps for drive D.
    // When that cannot be found the drive's root stands in, so that a later
    // "could not open" still names the drive the user typed.
    std::optional<std::string> driveDirectory = drive ? drive(path[0]) : std::nullopt;
    if (!driveDirectory) driveDirectory = path.substr(0, 2) + separator(style);
    return join(*driveDirectory, std::string_view(path).substr(2), style);
  }
  if (isRooted(path, style) || current.empty()) return path;
  if (path == ".") return current;
  return join(current, path, style);
}

bool isAbsolute(std::string_view path, Style style) {
  if (!path.empty() && isSeparator(path[0], style)) return true;
  return style == Style::windows && hasDriveLetter(path) && path.size() >= 3 &&
         isSeparator(path[2], style);
}

std::size_t fileNameStart(std::string_view path, Style style) {
  std::size_t at = path.size();
  while (at > 0 && !isSeparator(path[at - 1], style)) --at;
  return at;
}

std::string_view fileName(std::string_view path, Style style) {
  return path.substr(fileNameStart(path, style));
}

std::string_view parentFolder(std::string_view path, Style style) {
  const std::size_t start = fileNameStart(path, style);
  if (start == 0) return {};
  // The root's separator stays: "/" of "/x", "C:\\" of "C:\\x".
  const bool isRoot = start == 1 || (start == 3 && style == Style::windows && path[1] == ':');
  return path.substr(0, isRoot ? start : start - 1);
}

std::vector<std::string_view> parts(std::string_view path, Style style) {
  std::vector<std::string_view> named;
  forEachPart(path, style, [&](std::string_view part) {
    if (!part.empty()) named.push_back(part);
    return true;
  });
  return named;
}

std::string comparable(std::string_view path, std::string_view base, Style style) {
  const char sep = separator(style);
  if (isComparableForm(path, sep)) return std::string(path);
  std::string whole = isAbsolute(path, workbench) ? std::string(path) : join(base, path, style);
  std::string prefix;
  std::size_t start = 0;
  if (hasDriveLetter(whole)) {
    prefix = whole.substr(0, 2);
    start = 2;
  }
  std::vector<std::string_view> kept;
  const bool rooted = isAbsolute(whole, workbench);
  forEachPart(std::string_view(whole).substr(start), workbench, [&](std::string_view part) {
    if (part == "..") {
      if (!kept.empty() && kept.back() != "..") kept.pop_back();
      else if (!rooted) kept.push_back(part);
    } else if (!part.empty() && part != ".") {
      kept.push_back(part);
    }
    return true;
  });
  std::string result = prefix;
  if (rooted) result += sep;
  else if (kept.empty()) result += '.';
  for (std::size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) result += sep;
    result += kept[i];
  }
  return result;
}

std::string comparableOf(std::string&& path, std::string_view base, Style style) {
  if (isComparableForm(path, separator(style))) return std::move(path);
  return comparable(std::string_view(path), base, style);
}

bool leavesFolder(std::string_view relative, Style style) {
  std::size_t depth = 0;
  return !forEachPart(relative, style, [&](std::string_view part) {
    if (part == "..") {
      if (depth == 0) return false;
      --depth;
    } else if (!part.empty() && part != ".") {
      ++depth;
    }
    return true;
  });
}

}  // namespace path
