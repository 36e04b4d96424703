#include "building/subprojects.h"

#include <algorithm>
#include <memory>

#include "text/path.h"

namespace {

// Each sub-project once, named by its path's last part, the project itself
// and empty names left out.
void note(const std::string& entry, const std::string& projectName,
          std::vector<std::pair<std::string, std::string>>& named) {
  const std::string name(path::fileName(entry));
  if (name.empty() || name == projectName) return;
  if (std::none_of(named.begin(), named.end(), [&](const auto& known) { return known.first == name; })) {
    named.emplace_back(name, entry);
  }
}

}  // namespace

void addSubprojects(const SubprojectSearch& search, const std::vector<std::string>& entries,
                    const std::vector<std::string>& referencedProjects, FileGroup& root,
                    Subprojects& out, const NoteSink& notes) {
  std::vector<std::pair<std::string, std::string>> named;  // name, path
  for (const auto& entry : entries) note(entry, search.projectName, named);
  for (const auto& name : referencedProjects) note(name, search.projectName, named);
  if (!named.empty()) {
    Note scanning(NoteKind::ScanningSubprojects);
    scanning.number = named.size();
    notes(std::move(scanning));
  }
  out.locator.emplace(search.workspaceDir, search.scan.lister, search.readProjectName,
                      search.passOver);
  for (const auto& [name, entry] : named) {
    const auto folder = out.locator->find(name, entry);
    out.found.emplace_back(name, folder);
    if (!folder) {
      notes(Note(NoteKind::ProjectNotFound, name));
      continue;
    }
    out.folders.set(name, *folder);
    out.excludedFolders.insert(path::comparable(*folder, search.currentDirectory));
    auto group = std::make_unique<FileGroup>(name);
    group->sourceFolder = *folder;
    FolderScan scan = search.scan;
    scan.lister = out.locator->sharedLister();
    scan.noteFolders = true;  // the groups name their real folders
    scan.scan(*folder, *group, true);
    out.groups.insert(group.get());
    root.subGroups.push_back(std::move(group));
  }
}

std::string projectFolderNamed(const std::string& name, const SubprojectSearch& search,
                               const std::string& projectFolder, Subprojects& found) {
  if (name == search.projectName) return projectFolder;
  const std::string_view known = found.folders.get(name);
  if (!known.empty()) return std::string(known);
  const auto located = found.locator->find(name, name);
  const std::string folder = located ? *located : path::join(search.workspaceDir, name);
  found.folders.set(name, folder);
  return folder;
}
