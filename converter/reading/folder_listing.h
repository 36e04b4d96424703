// The folders of the file system as the scans read them: one folder at a
// time, each entry with what it is, in the order the scans take them.
#pragma once

#include <functional>
#include <string>
#include <vector>

// What a folder entry is. A symbolic link to a folder counts as neither
// folder nor file: it is not descended (no loops) and is no file.
// A dangling link names nothing: no file of the real-project mode, though
// the default scan takes it as one, as anything that is no folder.
enum class EntryKind { File, Folder, FolderLink, DanglingLink };

struct ListedEntry {
  std::string name;
  EntryKind kind;
};

// Lists one folder ("." and ".." may be among the entries) in the order the
// scan takes them; false when the folder cannot be listed.
using FolderLister = std::function<bool(const std::string& folder, std::vector<ListedEntry>&)>;

// The system's own listing (converter/platform), entries whose type the
// listing does not say asked for their status.
FolderLister systemFolderLister();
