#include "building/project_locator.h"

#include <deque>
#include <iterator>
#include <utility>

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
    if (entry.name == ".project" && entry.kind == EntryKind::File) {
      return readName(folder + path::separator() + ".project");
    }
  }
  return std::nullopt;
}

std::optional<std::string> ProjectLocator::find(const std::string& name,
                                                const std::string& entry) {
  const bool inside = !path::leavesFolder(entry);
  const std::string candidate = inside ? workspaceDir + path::separator() + entry : std::string();
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

// Breadth first, so the project nearest the workspace folder is the one
// kept; bounded in depth and in folders listed, since a workspace may hold
// far more than projects.
void ProjectLocator::search() {
  if (searched) return;
  searched = true;
  std::deque<std::pair<std::string, std::size_t>> pending{{workspaceDir, 0}};
  std::size_t listed = 0;
  while (!pending.empty()) {
    if (listed == kMaxFolders) {
      cutShort = true;
      return;
    }
    auto [folder, depth] = std::move(pending.front());
    pending.pop_front();
    std::vector<ListedEntry> entries;
    if (!lister(folder, entries)) continue;
    ++listed;
    if (const auto name = projectIn(folder, entries)) folders.emplace(*name, folder);
    for (const auto& entry : entries) {
      if (depth == kMaxDepth || entry.kind != EntryKind::Folder || entry.name.empty() ||
          entry.name[0] == '.' || passOver.count(entry.name) > 0) {
        continue;
      }
      pending.emplace_back(folder + path::separator() + entry.name, depth + 1);
    }
    listings.emplace(std::move(folder), std::move(entries));
  }
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
