// Builds the group tree from what the build description says: the root
// group's files, include paths and macros, and one sub-group per referenced
// project that the sub-project list names, filled by the folder scan.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "building/folder_scan.h"
#include "model/file_group.h"
#include "reading/build_settings.h"
#include "text/lookup_table.h"

class GroupTreeBuilder {
 public:
  // `root` receives everything; the builder keeps references to all four.
  GroupTreeBuilder(FileGroup& root, const std::string& workspaceDir,
                   const std::vector<std::string>& referencedProjects, const FolderScan& scan);

  // Takes the statements in file order: each sees only what the ones before
  // it supplied (build macros, project folders).
  void add(const BuildStatement& statement);

  // The folder the last entry naming `name` gave it; empty for none.
  std::string_view projectFolder(std::string_view name) const { return projectFolders.get(name); }

 private:
  void addSubproject(std::string_view projectPath);
  void addInclude(std::string_view entry);
  void addCompilerCommand(std::string_view command);

  FileGroup& root;
  const std::string& workspaceDir;
  const std::vector<std::string>& referencedProjects;
  const FolderScan& scan;
  LookupTable buildMacros;     // a build macro's name to its value
  LookupTable projectFolders;  // a referenced project's name to its folder
};

// Each referenced project with the folder its group lists (the last entry
// naming it), or none where no entry names it.
using ProjectFolders = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Reads the whole build description from `in` into `root`; `watchLines`,
// when given, sees every line read.
ProjectFolders buildGroupTree(std::istream& in, FileGroup& root, const std::string& workspaceDir,
                              const std::vector<std::string>& referencedProjects,
                              const FolderScan& scan,
                              const std::function<void(std::string_view)>& watchLines = {});
