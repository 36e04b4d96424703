// An in-memory folder tree for the folder scan, so that readers can be
// tested (and fuzzed) without the disk. Paths are given with "/" and listed
// with the platform's separator, entries in byte order of their names.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "building/folder_scan.h"
#include "text/path.h"

class FakeFolders {
 public:
  // A file at `path`, with every folder above it.
  void file(const std::string& path) { add(native(path), EntryKind::File); }
  void folder(const std::string& path) { add(native(path), EntryKind::Folder); }
  // A symbolic link to a folder.
  void folderLink(const std::string& path) { add(native(path), EntryKind::FolderLink); }

  FolderLister lister() const {
    return [this](const std::string& folder, std::vector<ListedEntry>& entries) {
      const auto found = folders.find(folder);
      if (found == folders.end()) return false;
      for (const auto& [name, kind] : found->second) entries.push_back({name, kind});
      return true;
    };
  }

  static std::string native(std::string path) {
    for (char& c : path) {
      if (c == '/') c = ::path::separator();
    }
    return path;
  }

 private:
  // Enters `path` in its folder, and each folder above it in its own, up to
  // one that was known already.
  void add(const std::string& path, EntryKind kind) {
    if (kind == EntryKind::Folder) folders[path];
    std::string child = path;
    for (std::size_t cut; (cut = child.rfind(::path::separator())) != std::string::npos;) {
      std::string parent = child.substr(0, cut);
      const bool known = folders.count(parent) > 0;
      folders[parent][child.substr(cut + 1)] = kind;
      if (known) return;
      child = std::move(parent);
      kind = EntryKind::Folder;
    }
  }

  std::map<std::string, std::map<std::string, EntryKind>> folders;
};
