#include <memory>
#include <string>
#include <vector>

#include "driver/conversion_job.h"
#include "platform/platform.h"

// Collects the source files of one folder into a group. A referenced
// project's folder is scanned as a whole tree: each sub-folder becomes a
// sub-group named after it, so the analyser project mirrors the source tree.

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

// What an entry is, from the listing where it says so. A symbolic link to a
// folder counts as neither: it is not descended (no loops) and is no file.
enum class Kind { File, Folder, FolderLink };

Kind kindOf(const platform::FolderEntry& entry, const std::string& fullPath) {
  switch (entry.type) {
    case platform::EntryType::File: return Kind::File;
    case platform::EntryType::Folder: return Kind::Folder;
    case platform::EntryType::Link:
      return platform::pathKind(fullPath) == platform::PathKind::Folder ? Kind::FolderLink
                                                                         : Kind::File;
    case platform::EntryType::Unknown: break;
  }
  return platform::pathKind(fullPath) == platform::PathKind::Folder ? Kind::Folder : Kind::File;
}

// One folder still being scanned, with the sub-folders not yet visited.
struct PendingFolder {
  std::string path;
  FileGroup* group;
  std::unique_ptr<FileGroup> owned;  // empty for the group the caller passed in
  std::vector<std::string> subFolders;
  std::size_t next = 0;
};

}  // namespace

bool ConversionJob::acceptsFile(const std::string& path) const {
  if (fileExtensions.empty()) return true;
  const std::size_t dot = path.rfind('.');
  const std::string_view extension =
      dot == std::string::npos ? std::string_view(path) : std::string_view(path).substr(dot + 1);
  for (const std::string& wanted : fileExtensions) {
    if (equalIgnoringCase(extension, wanted)) return true;
  }
  return false;
}

void ConversionJob::scanFolder(const std::string& folder, FileGroup& group, bool descend) {
  // An explicit stack instead of recursion, so that thousands of nested
  // folders do not exhaust the program's stack.
  std::vector<PendingFolder> stack;
  std::vector<platform::FolderEntry> entries;
  auto list = [&](const std::string& path, FileGroup& into) {
    PendingFolder pending{path, &into, nullptr, {}, 0};
    entries.clear();
    if (!platform::listFolder(path, entries)) return pending;
    for (const auto& entry : entries) {
      if (entry.name == "." || entry.name == "..") continue;
      // Each file of the project is one line of the project file.
      if (entry.name.find_first_of("\r\n") != std::string::npos) continue;
      std::string fullPath = path + platform::separator + entry.name;
      switch (kindOf(entry, fullPath)) {
        case Kind::File:
          if (acceptsFile(fullPath)) into.files.push_back(std::move(fullPath));
          break;
        case Kind::Folder:
          if (descend) pending.subFolders.push_back(entry.name);
          break;
        case Kind::FolderLink:
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
      auto child = std::make_unique<FileGroup>(name, *this);
      PendingFolder pending = list(top.path + platform::separator + name, *child);
      pending.owned = std::move(child);
      stack.push_back(std::move(pending));
      continue;
    }
    // A finished sub-folder joins its parent's group unless nothing accepted
    // lies anywhere below it.
    std::unique_ptr<FileGroup> done = std::move(top.owned);
    stack.pop_back();
    if (done && !(done->files.empty() && done->subGroups.empty())) {
      stack.back().group->subGroups.push_back(std::move(done));
    }
  }
}
