// Paths as text, for every layer. Each rule takes the style of the system
// whose paths it handles, as LLVM's sys::path does, so that the Windows rules
// are tested on Linux from tables and the other way round; `native` is the
// system the converter is built for.
//
// Two kinds of path meet here:
// - the system's own paths (the command line, the folder listing, what the
//   converter writes): Windows separates parts with "\" and knows drive
//   letters, POSIX separates with "/" and knows neither;
// - Workbench's paths in project files, where "/" and "\" both separate parts
//   and a drive letter may begin one whatever the system, since Workbench
//   writes "/" on Windows too and projects move between systems: they are
//   read by Windows' rules everywhere (`workbench`).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/ascii.h"

namespace path {

enum class Style { posix, windows };

#ifdef _WIN32
inline constexpr Style native = Style::windows;
#else
inline constexpr Style native = Style::posix;
#endif

// The style Workbench's paths are read in on every system.
inline constexpr Style workbench = Style::windows;

// Whether `c` separates parts: "/" in both styles, "\" on Windows too.
constexpr bool isSeparator(char c, Style style = native) {
  return c == '/' || (style == Style::windows && c == '\\');
}

// The separator the system writes.
constexpr char separator(Style style = native) { return style == Style::windows ? '\\' : '/'; }

// `folder`, the separator and `name`, as written: a folder that ends with a
// separator gives two in a row. The converter joins every path this way.
std::string join(std::string_view folder, std::string_view name, Style style = native);
// The same, in place: `folder` becomes the joined path.
void append(std::string& folder, std::string_view name, Style style = native);

// Whether `path` begins with a drive letter and its ":" ("C:", "c:x"), on
// any system: the caller knows whether drives count.
constexpr bool hasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && ascii::isLetter(path[0]);
}

// The text after the last "." of `path`, wherever that lies: in a folder's
// name too ("1\Makefile" of "C:\ws.1\Makefile"), as the extension list has
// always been matched; nothing when `path` holds no dot. A file whose name
// ends in a dot has the empty extension.
std::optional<std::string_view> extension(std::string_view path);

// --- The system's own paths.

// The directory the system keeps for a drive (a letter), or nothing.
using DriveDirectory = std::function<std::optional<std::string>(char drive)>;

// Rooted at the top of the file system, or of a drive with its separator
// ("C:\x"); a drive without one ("C:x") is relative to that drive.
bool isRooted(std::string_view path, Style style = native);

// `path` made absolute against `current` (the current directory; empty when
// it cannot be read, and the path then stays as typed). A drive-relative
// Windows path takes the drive's own directory (`drive`), else its root.
// Nothing else changes: "." and ".." parts, trailing separators and letter
// case stay as typed, and "." alone is `current`.
std::string absolute(const std::string& path, const std::string& current,
                     const DriveDirectory& drive, Style style = native);

// --- Workbench's paths, and the parts of any path. These read in
// `workbench` style unless told otherwise, as they always have: the paths the
// converter builds from a listing are cut by the same rule as those it reads.

// Rooted ("/x"; on Windows also "\x", "\\server\x") or with a drive
// ("C:/x", "C:\x": Windows only).
bool isAbsolute(std::string_view path, Style style = workbench);

// Where the last part begins: just after the last separator, 0 for none.
std::size_t fileNameStart(std::string_view path, Style style = workbench);
// The last part ("main.c" of "src/main.c").
std::string_view fileName(std::string_view path, Style style = workbench);
// The folder that holds the last part, without the separator between them
// but with a root's own ("/", "C:\"), so that it still names the root;
// empty for a path of one part.
std::string_view parentFolder(std::string_view path, Style style = workbench);
// The named parts, in order: empty parts (doubled separators) left out,
// "." and ".." kept as written.
std::vector<std::string_view> parts(std::string_view path, Style style = workbench);

// `path`, read in `workbench` style, made absolute against `base` (unless it
// is already) and without "." parts, ".." parts that a part before them takes
// back, or doubled separators; every separator becomes the style's. One
// spelling for each place: for comparing paths, and for naming a place a path
// was joined to.
// A relative path that comes back to where it starts is ".", never empty:
// an empty include path or folder would name nothing at all.
std::string comparable(std::string_view path, std::string_view base, Style style = native);
// The same for a path the caller gives up: one already in that form comes
// back without a copy.
std::string comparableOf(std::string&& path, std::string_view base, Style style = native);

// Whether `relative`, joined to a folder, leads out of that folder at any
// point: a ".." part that climbs above it, whatever the separators ("/",
// "\\" on Windows, doubled or mixed). Empty and "." parts stay where they are.
bool leavesFolder(std::string_view relative, Style style = workbench);

}  // namespace path
