#include "reading/folder_listing.h"

#include "platform/platform.h"
#include "text/path.h"

namespace {

// What an entry is, from the listing where it says so; the entry's path is
// made only where the system must be asked.
EntryKind kindOf(const platform::FolderEntry& entry, const std::string& folder) {
  const auto pointsToFolder = [&] {
    return platform::pathKind(path::join(folder, entry.name)) ==
           platform::PathKind::Folder;
  };
  switch (entry.type) {
    case platform::EntryType::File: return EntryKind::File;
    case platform::EntryType::Folder: return EntryKind::Folder;
    case platform::EntryType::Link: return pointsToFolder() ? EntryKind::FolderLink : EntryKind::File;
    case platform::EntryType::Unknown: break;
  }
  return pointsToFolder() ? EntryKind::Folder : EntryKind::File;
}

}  // namespace

FolderLister systemFolderLister() {
  return [entries = std::vector<platform::FolderEntry>()](
             const std::string& folder, std::vector<ListedEntry>& listed) mutable {
    entries.clear();
    if (!platform::listFolder(folder, entries)) return false;
    for (auto& entry : entries) {
      const EntryKind kind = kindOf(entry, folder);
      listed.push_back({std::move(entry.name), kind});
    }
    return true;
  };
}
