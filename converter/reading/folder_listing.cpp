#include "reading/folder_listing.h"

#include "platform/platform.h"
#include "text/path.h"

namespace {

// What an entry is, from the listing where it says so; the entry's path is
// made only where the system must be asked.
EntryKind kindOf(const platform::FolderEntry& entry, const std::string& folder) {
  const auto pointsTo = [&] { return platform::pathKind(path::join(folder, entry.name)); };
  switch (entry.type) {
    case platform::EntryType::File: return EntryKind::File;
    case platform::EntryType::Folder: return EntryKind::Folder;
    case platform::EntryType::Link:
      switch (pointsTo()) {
        case platform::PathKind::Folder: return EntryKind::FolderLink;
        case platform::PathKind::File: return EntryKind::File;
        case platform::PathKind::Missing: return EntryKind::DanglingLink;
      }
      break;
    case platform::EntryType::Unknown:
      return pointsTo() == platform::PathKind::Folder ? EntryKind::Folder : EntryKind::File;
  }
  return EntryKind::File;
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
