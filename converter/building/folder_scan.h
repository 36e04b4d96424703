// Collects the source files of one folder into a group. A referenced
// project's folder is scanned as a whole tree: each sub-folder becomes a
// sub-group named after it, so the analyser project mirrors the source tree.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_group.h"
#include "reading/folder_listing.h"

// Whether `path` has one of `extensions`: the text after the last dot
// anywhere in it (the whole path without a dot), compared without regard to
// the case of ASCII letters. An empty list accepts every file.
bool acceptsFile(const std::vector<std::string>& extensions, std::string_view path);

// Files and folders never taken, wherever a scan meets them: the run's own
// outputs (the destination folder, the project file, the compilation
// database), so that they never become the project's sources.
struct PassOver {
  // Adds a path, compared once made absolute against `base` and freed of
  // "." and ".." parts (path::comparable).
  void add(const std::string& path);
  // Whether the entry `name` of `folder` is one of them.
  bool holds(std::string_view folder, std::string_view name) const;

  std::string base;                // what relative paths are taken from
  std::vector<std::string> names;  // the last part of each path: a quick first test
  std::vector<std::string> paths;
};

// What one scan leaves out or takes beyond its configuration.
struct ScanLimits {
  // With `descend`, the sub-folders (their full paths) not to visit.
  std::function<bool(const std::string& folder)> skipFolder = nullptr;
  // Every file whatever its extension, for a caller that judges them itself.
  bool everyExtension = false;
};

struct FolderScan {
  FolderLister lister;
  std::vector<std::string> fileExtensions;
  // Whether the sub-groups made for sub-folders note their folder's path.
  bool noteFolders = false;
  PassOver passOver{};
  // Whether a link that names nothing is taken as a file, as the default
  // mode has always taken anything that is no folder.
  bool danglingLinksAreFiles = true;

  // Appends the accepted files lying in `folder` to `group`; with `descend`,
  // each sub-folder that holds an accepted file somewhere below becomes a
  // sub-group. A folder that cannot be listed adds nothing.
  void scan(const std::string& folder, FileGroup& group, bool descend,
            const ScanLimits& limits = {}) const;
};
