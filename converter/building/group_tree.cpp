#include "building/group_tree.h"

#include <algorithm>

#include "building/compiler_defines.h"
#include "reading/build_markers.h"
#include "text/path.h"

namespace {

constexpr auto npos = std::string::npos;

}  // namespace

GroupTreeBuilder::GroupTreeBuilder(FileGroup& root, const std::string& workspaceDir,
                                   const std::vector<std::string>& referencedProjects,
                                   const FolderScan& scan)
    : root(root), workspaceDir(workspaceDir), referencedProjects(referencedProjects), scan(scan) {}

void GroupTreeBuilder::add(const BuildStatement& statement) {
  switch (statement.kind) {
    case BuildStatement::SubprojectList:
      // The only place where the root group receives files.
      scan.scan(workspaceDir, root, false);
      break;
    case BuildStatement::Subproject: addSubproject(statement.text); break;
    case BuildStatement::Include: addInclude(statement.text); break;
    case BuildStatement::BuildMacro:
      // An empty build macro counts as 1 here (the real-project mode keeps it
      // empty, as make does).
      buildMacros.set(statement.text, statement.value.empty() ? "1" : statement.value);
      break;
    case BuildStatement::CompilerCommand: addCompilerCommand(statement.text); break;
  }
}

// Every referenced project whose name occurs anywhere in the path gets a
// group of its own for the folder.
void GroupTreeBuilder::addSubproject(std::string_view projectPath) {
  for (const std::string& name : referencedProjects) {
    if (projectPath.find(name) == npos) continue;
    const std::string folder = path::join(workspaceDir, projectPath);
    projectFolders.set(name, folder);
    auto group = std::make_unique<FileGroup>(name);
    // Workbench writes no ".." parts; a crafted path that climbs above the
    // workspace (/Lib/../../..) would list the whole disk into the project.
    if (!path::leavesFolder(projectPath)) scan.scan(folder, *group, true);
    root.subGroups.push_back(std::move(group));
  }
}

// An entry is its include option (two letters such as -I, or -isystem) and
// a value; one that holds %Proj- anywhere loses those six letters at its
// front. A value NAME%tail names a project's folder (or the workspace's
// folder of that name) followed by the tail.
void GroupTreeBuilder::addInclude(std::string_view entry) {
  std::string_view value = entry;
  dropFront(value, value.starts_with(kSystemInclude) ? kSystemInclude.size() : 2);
  if (value.find(kProjectReference) != npos) dropFront(value, kProjectReference.size());
  const std::size_t percent = value.find('%');
  if (percent == npos) {
    root.includePaths.emplace_back(value);
    return;
  }
  const std::string_view key = value.substr(0, percent);
  std::string path(projectFolders.get(key));
  if (path.empty()) {
    path = path::join(workspaceDir, key);
  }
  path += value.substr(percent + 1);
  root.includePaths.push_back(std::move(path));
}

void GroupTreeBuilder::addCompilerCommand(std::string_view command) {
  defineFromCompilerCommand(command, buildMacros, root.macros);
}

ProjectFolders buildGroupTree(std::istream& in, FileGroup& root, const std::string& workspaceDir,
                              const std::vector<std::string>& referencedProjects,
                              const FolderScan& scan,
                              const std::function<void(std::string_view)>& watchLines) {
  BuildSettingsReader reader(in);
  if (watchLines) reader.watchLines(watchLines);
  GroupTreeBuilder builder(root, workspaceDir, referencedProjects, scan);
  BuildStatement statement;
  while (reader.next(statement)) builder.add(statement);
  ProjectFolders folders;
  for (const std::string& name : referencedProjects) {
    const std::string_view folder = builder.projectFolder(name);
    folders.emplace_back(name, folder.empty() ? std::nullopt : std::optional<std::string>(folder));
  }
  return folders;
}
