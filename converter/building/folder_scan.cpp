#include "building/folder_scan.h"

#include <memory>

#include "text/ascii.h"
#include "text/path.h"

namespace {

// One folder still being scanned, with the sub-folders not yet visited.
struct PendingFolder {
  std::string path;
  FileGroup* group;
  std::unique_ptr<FileGroup> owned;  // empty for the group the caller passed in
  std::vector<std::string> subFolders;
  std::size_t next = 0;
};

}  // namespace

void PassOver::add(const std::string& path) {
  std::string comparable = path::comparable(path, base);
  names.emplace_back(path::fileName(comparable, path::native));
  paths.push_back(std::move(comparable));
}

bool PassOver::holds(std::string_view folder, std::string_view name) const {
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name &&
        path::comparable(path::join(folder, name), base) ==
            paths[i]) {
      return true;
    }
  }
  return false;
}

bool acceptsFile(const std::vector<std::string>& extensions, std::string_view path) {
  if (extensions.empty()) return true;
  // A path without a dot is its own extension.
  const std::string_view extension = path::extension(path).value_or(path);
  for (const std::string& wanted : extensions) {
    if (ascii::equalIgnoringCase(extension, wanted)) return true;
  }
  return false;
}

void FolderScan::scan(const std::string& folder, FileGroup& group, bool descend,
                      const ScanLimits& limits) const {
  // An explicit stack instead of recursion, so that thousands of nested
  // folders do not exhaust the program's stack.
  std::vector<PendingFolder> stack;
  std::vector<ListedEntry> entries;
  auto list = [&](const std::string& path, FileGroup& into) {
    PendingFolder pending{path, &into, nullptr, {}, 0};
    entries.clear();
    if (!lister(path, entries)) return pending;
    for (auto& entry : entries) {
      if (entry.name == "." || entry.name == "..") continue;
      // Each file of the project is one line of the project file.
      if (entry.name.find_first_of("\r\n") != std::string::npos) continue;
      if (passOver.holds(path, entry.name)) continue;
      switch (entry.kind) {
        case EntryKind::DanglingLink:
          if (!danglingLinksAreFiles) break;
          [[fallthrough]];
        case EntryKind::File: {
          std::string fullPath = path::join(path, entry.name);
          if (limits.everyExtension || acceptsFile(fileExtensions, fullPath)) {
            into.files.push_back(std::move(fullPath));
          }
          break;
        }
        case EntryKind::Folder:
          if (descend) pending.subFolders.push_back(std::move(entry.name));
          break;
        case EntryKind::FolderLink:
          break;
      }
    }
    return pending;
  };

  stack.push_back(list(folder, group));
  while (!stack.empty()) {
    PendingFolder& top = stack.back();
    if (top.next < top.subFolders.size()) {
      const std::string& name = top.subFolders[top.next++];
      std::string path = path::join(top.path, name);
      if (limits.skipFolder && limits.skipFolder(path)) continue;
      auto child = std::make_unique<FileGroup>(name);
      if (noteFolders) child->sourceFolder = path;
      PendingFolder pending = list(path, *child);
      pending.owned = std::move(child);
      stack.push_back(std::move(pending));
      continue;
    }
    // A finished sub-folder joins its parent's group unless nothing accepted
    // lies anywhere below it.
    std::unique_ptr<FileGroup> done = std::move(top.owned);
    stack.pop_back();
    if (done && !holdsNothing(*done)) {
      stack.back().group->subGroups.push_back(std::move(done));
    }
  }
}
