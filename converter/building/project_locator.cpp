#include "building/project_locator.h"

#include <algorithm>
#include <deque>
#include <iterator>
#include <utility>

#include "model/file_names.h"
#include "text/path.h"

ProjectLocator::ProjectLocator(std::string workspaceDir, FolderLister lister,
                               ProjectNameReader readName, std::set<std::string> passOver)
    : workspaceDir(std::move(workspaceDir)),
      lister(std::move(lister)),
      readName(std::move(readName)),
      passOver(std::move(passOver)) {}

std::optional<std::string> ProjectLocator::projectIn(const std::string& folder,
                                                     const std::vector<ListedEntry>& entries) {
  for (const auto& entry : entries) {
    if (entry.name == kProjectFile && entry.kind == EntryKind::File) {
      return readName(path::join(folder, kProjectFile));
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProjectLocator::find(const std::string& name,
                                                const std::string& entry) {
  const bool inside = !path::leavesFolder(entry);
  const std::string candidate = inside ? path::join(workspaceDir, entry) : std::string();
  std::vector<ListedEntry> entries;
  const bool exists = inside && lister(candidate, entries);
  const auto there = exists ? projectIn(candidate, entries) : std::nullopt;
  if (there && *there == name) return candidate;
  search();
  const auto found = folders.find(name);
  if (found != folders.end()) return found->second;
  // A folder of that name without a project description of its own is the
  // best there is.
  if (exists && !there) return candidate;
  return std::nullopt;
}

bool searchForProjects(const std::string& top, const FolderLister& lister, bool byteOrder,
                       const FolderPassedOver& passedOver, const ListedFolder& listed) {
  std::deque<std::pair<std::string, std::size_t>> pending{{top, 0}};
  std::size_t count = 0;
  while (!pending.empty()) {
    if (count == ProjectLocator::kMaxFolders) return false;
    auto [folder, depth] = std::move(pending.front());
    pending.pop_front();
    std::vector<ListedEntry> entries;
    if (!lister(folder, entries)) continue;
    ++count;
    if (byteOrder) {
      std::sort(entries.begin(), entries.end(),
                [](const ListedEntry& a, const ListedEntry& b) { return a.name < b.name; });
    }
    for (const auto& entry : entries) {
      if (depth == ProjectLocator::kMaxDepth || entry.kind != EntryKind::Folder ||
          entry.name.empty() || entry.name[0] == '.' || passedOver(folder, entry.name)) {
        continue;
      }
      pending.emplace_back(path::join(folder, entry.name), depth + 1);
    }
    listed(std::move(folder), std::move(entries));
  }
  return true;
}

// The project nearest the workspace folder is the one kept.
void ProjectLocator::search() {
  if (searched) return;
  searched = true;
  cutShort = !searchForProjects(
      workspaceDir, lister, false,
      [&](const std::string&, const std::string& name) { return passOver.count(name) > 0; },
      [&](std::string&& folder, std::vector<ListedEntry>&& entries) {
        if (const auto name = projectIn(folder, entries)) folders.emplace(*name, folder);
        listings.emplace(std::move(folder), std::move(entries));
      });
}

FolderLister ProjectLocator::sharedLister() {
  return [this](const std::string& folder, std::vector<ListedEntry>& entries) {
    const auto kept = listings.find(folder);
    if (kept == listings.end()) return lister(folder, entries);
    entries.insert(entries.end(), std::make_move_iterator(kept->second.begin()),
                   std::make_move_iterator(kept->second.end()));
    listings.erase(kept);
    return true;
  };
}
