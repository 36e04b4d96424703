#include "building/workspace_projects.h"

#include <algorithm>
#include <cctype>
#include <deque>
#include <set>
#include <utility>

#include "text/path.h"

namespace {

bool holdsFile(const std::vector<ListedEntry>& entries, const std::string& name) {
  return std::any_of(entries.begin(), entries.end(), [&](const ListedEntry& entry) {
    return entry.kind == EntryKind::File && entry.name == name;
  });
}

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Two projects of one name would write into one folder; Windows takes
// "App" and "app" for one name, and so does this on every system.
void giveOutputNames(std::vector<WorkspaceProject>& projects) {
  std::set<std::string> taken;
  for (WorkspaceProject& project : projects) {
    std::string name = project.name;
    for (int n = 2; !taken.insert(lowerCase(name)).second; ++n) {
      name = project.name + "-" + std::to_string(n);
    }
    project.outputName = std::move(name);
  }
}

}  // namespace

WorkspaceSearch findWorkspaceProjects(const std::string& workspaceDir, const FolderLister& lister,
                                      const ProjectNameReader& readName,
                                      const PassOver& passOver) {
  WorkspaceSearch search;
  std::deque<std::pair<std::string, std::size_t>> pending{{workspaceDir, 0}};
  std::size_t listed = 0;
  while (!pending.empty()) {
    if (listed == ProjectLocator::kMaxFolders) {
      search.cutShort = true;
      break;
    }
    const auto [folder, depth] = std::move(pending.front());
    pending.pop_front();
    std::vector<ListedEntry> entries;
    if (!lister(folder, entries)) continue;
    ++listed;
    std::sort(entries.begin(), entries.end(),
              [](const ListedEntry& a, const ListedEntry& b) { return a.name < b.name; });
    if (holdsFile(entries, ".project") && holdsFile(entries, ".wrproject")) {
      const auto named = readName(folder + path::separator() + ".project");
      search.projects.push_back(
          {folder, named ? *named : std::string(path::fileName(folder, path::native)), {}});
    }
    for (const auto& entry : entries) {
      if (depth == ProjectLocator::kMaxDepth || entry.kind != EntryKind::Folder ||
          entry.name.empty() || entry.name[0] == '.' || passOver.holds(folder, entry.name)) {
        continue;
      }
      pending.emplace_back(folder + path::separator() + entry.name, depth + 1);
    }
  }
  giveOutputNames(search.projects);
  return search;
}
