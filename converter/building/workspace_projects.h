// The Workbench projects of a workspace: every folder that holds both a
// .project and a .wrproject, for a run that converts them all.
#pragma once

#include <string>
#include <vector>

#include "building/folder_scan.h"
#include "building/project_locator.h"

struct WorkspaceProject {
  std::string folder;  // the workspace folder (as given) joined with the path below it
  std::string name;    // the .project's name, else the folder's own
  // The folder of the destination it is converted into: the name, made
  // unique (letter case aside) by "-2", "-3", ... in the order found.
  std::string outputName;
};

struct WorkspaceSearch {
  bool cutShort = false;  // the search stopped at its bound
  std::vector<WorkspaceProject> projects;
};

// The projects `searchForProjects` finds from `workspaceDir`, each folder's
// entries in byte order, so the order is the same on every system: nearer
// projects first, and a project inside another found too. Only regular files
// count (the lister says File); the folders `passOver` holds are not
// entered.
WorkspaceSearch findWorkspaceProjects(const std::string& workspaceDir, const FolderLister& lister,
                                      const ProjectNameReader& readName,
                                      const PassOver& passOver);
