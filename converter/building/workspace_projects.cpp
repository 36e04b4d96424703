#include "building/workspace_projects.h"

#include <algorithm>
#include <set>
#include <utility>

#include "model/file_names.h"
#include "text/ascii.h"
#include "text/path.h"

namespace {

bool holdsFile(const std::vector<ListedEntry>& entries, std::string_view name) {
  return std::any_of(entries.begin(), entries.end(), [&](const ListedEntry& entry) {
    return entry.kind == EntryKind::File && entry.name == name;
  });
}

// Two projects of one name would write into one folder; Windows takes
// "App" and "app" for one name, and so does this on every system.
void giveOutputNames(std::vector<WorkspaceProject>& projects) {
  std::set<std::string> taken;
  for (WorkspaceProject& project : projects) {
    std::string name = project.name;
    for (int n = 2; !taken.insert(ascii::lowered(name)).second; ++n) {
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
  search.cutShort = !searchForProjects(
      workspaceDir, lister, true,
      [&](const std::string& folder, const std::string& name) {
        return passOver.holds(folder, name);
      },
      [&](std::string&& folder, std::vector<ListedEntry>&& entries) {
        if (!holdsFile(entries, kProjectFile) || !holdsFile(entries, kBuildDescriptionFile)) return;
        const auto named = readName(path::join(folder, kProjectFile));
        std::string name = named ? *named : std::string(path::fileName(folder, path::native));
        search.projects.push_back({std::move(folder), std::move(name), {}});
      });
  giveOutputNames(search.projects);
  return search;
}
