// Plovik -workspace WORKSPACE DEST: every Workbench project of a workspace
// converted into DEST/<name> in one run, several at once, each project's
// lines shown together in a fixed order, a summary line for each, and one
// compilation database for them all.
#pragma once

#include <string>
#include <vector>

#include "building/workspace_projects.h"
#include "driver/options.h"

// `args` as the entry has them (args[0] the program); the exit status: 1
// when a project failed, or nothing could be found or written.
int runWorkspace(const std::vector<std::string>& args);

// The projects of `projects` that `names` (-project) choose, by name or by
// output folder, in their order; all of them when `names` is empty. Throws
// Failure InvalidValue naming a name that chooses none.
std::vector<WorkspaceProject> chosenProjects(const std::vector<WorkspaceProject>& projects,
                                             const std::vector<std::string>& names);

// Throws Failure InvalidValue for the first -spec, -target or -var whose
// PROJECT: prefix names no project of `projects` (by name or output folder),
// naming the projects: a slip would otherwise leave a project on its default.
void checkProjectPrefixes(const std::vector<WorkspaceProject>& projects,
                          const std::vector<ProjectSetting>& settings);
