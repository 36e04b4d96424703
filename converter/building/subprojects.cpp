#include "building/subprojects.h"

#include <algorithm>
#include <memory>
#include <unordered_set>

#include "text/path.h"

namespace {

// Each sub-project once, named by its path's last part, the project itself
// and empty names left out; the names met are kept by hash, as a workspace
// may hold thousands.
struct Named {
  void note(const std::string& entry, const std::string& projectName) {
    const std::string name(path::fileName(entry));
    if (name.empty() || name == projectName || !met.insert(name).second) return;
    named.emplace_back(name, entry);
  }
  std::vector<std::pair<std::string, std::string>> named;  // name, path
  std::unordered_set<std::string> met;
};

}  // namespace

void addSubprojects(const RealProjectContext& context, const FolderScan& scan,
                    const std::vector<std::string>& entries, FileGroup& root, Subprojects& out) {
  Named found;
  for (const auto& entry : entries) found.note(entry, context.projectName);
  for (const auto& name : context.referencedProjects) found.note(name, context.projectName);
  const auto& named = found.named;
  if (!named.empty()) {
    context.notes(Note(NoteKind::ScanningSubprojects, {}, Note::Counted{named.size()}));
  }
  for (const auto& [name, entry] : named) {
    const auto folder = out.locator.find(name, entry);
    out.found.emplace_back(name, folder);
    if (!folder) {
      context.notes(Note(NoteKind::ProjectNotFound, name));
      continue;
    }
    out.folders.set(name, *folder);
    out.excludedFolders.insert(path::comparable(*folder, context.currentDirectory));
    auto group = std::make_unique<FileGroup>(name);
    group->sourceFolder = *folder;
    scan.scan(*folder, *group, true);
    out.groups.insert(group.get());
    out.scanned.push_back({name, *folder, group.get()});
    root.subGroups.push_back(std::move(group));
  }
}

std::string projectFolderNamed(const std::string& name, const RealProjectContext& context,
                               Subprojects& found) {
  if (name == context.projectName) return context.projectFolder;
  const std::string_view known = found.folders.get(name);
  if (!known.empty()) return std::string(known);
  const auto located = found.locator.find(name, name);
  const std::string folder = located ? *located : path::join(context.workspaceDir, name);
  found.folders.set(name, folder);
  return folder;
}
