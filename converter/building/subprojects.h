// The real-project mode's sub-projects: each project the build description
// or the .project names, once, found by its name where the workspace holds
// it, and scanned into a group of its own.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "building/folder_scan.h"
#include "building/project_locator.h"
#include "building/real_project_context.h"
#include "model/file_group.h"
#include "text/lookup_table.h"

// What was found, for the steps after it.
struct Subprojects {
  // Made before: it searches the workspace, and its lister is the
  // real-project mode's.
  explicit Subprojects(ProjectLocator& locator) : locator(locator) {}

  // Each sub-project with the folder it was found in (none: not found).
  std::vector<std::pair<std::string, std::optional<std::string>>> found;
  // Each one found, with its folder and its own group.
  struct Scanned {
    std::string name;
    std::string folder;
    const FileGroup* group;
  };
  std::vector<Scanned> scanned;
  LookupTable folders;                     // a project's name to its folder, for %Proj-NAME%
  std::set<std::string> excludedFolders;   // comparable paths: no own sources
  std::set<const FileGroup*> groups;       // the sub-projects' own groups
  ProjectLocator& locator;                 // for the names include paths bring
};

// Appends a group for each sub-project, named by its entry's last part
// (entries, then the .project's references), scanned through `scan` (the
// real-project mode's), to `root`; a project not found is noted. The
// project is never a sub-project of itself.
void addSubprojects(const RealProjectContext& context, const FolderScan& scan,
                    const std::vector<std::string>& entries, FileGroup& root, Subprojects& out);

// The folder of project `name`, as %Proj-NAME% names it: the project itself,
// a sub-project, one the workspace search finds, else the workspace folder
// and the name. Each name is looked for once.
std::string projectFolderNamed(const std::string& name, const RealProjectContext& context,
                               Subprojects& found);
