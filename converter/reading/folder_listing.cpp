#include "reading/folder_listing.h"

#include "platform/platform.h"
#include "text/path.h"

namespace {

// What an entry is, from the listing where it says so.
EntryKind kindOf(const platform::FolderEntry& entry, const std::string& fullPath) {
  switch (entry.type) {
    case platform::EntryType::File: return EntryKind::File;
    case platform::EntryType::Folder: return EntryKind::Folder;
    case platform::EntryType::Link:
      return platform::pathKind(fullPath) == platform::PathKind::Folder ? EntryKind::FolderLink
                                                                         : EntryKind::File;
    case platform::EntryType::Unknown: break;
  }
  return platform::pathKind(fullPath) == platform::PathKind::Folder ? EntryKind::Folder
                                                                     : EntryKind::File;
}

}  // namespace

FolderLister systemFolderLister() {
  return [entries = std::vector<platform::FolderEntry>()](
             const std::string& folder, std::vector<ListedEntry>& listed) mutable {
    entries.clear();
    if (!platform::listFolder(folder, entries)) return false;
    for (auto& entry : entries) {
      const EntryKind kind = kindOf(entry, folder + path::separator() + entry.name);
      listed.push_back({std::move(entry.name), kind});
    }
    return true;
  };
}
