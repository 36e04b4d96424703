// Plovik -workspace WORKSPACE DEST: every Workbench project of a workspace
// converted into DEST/<name> in one run, several at once, each project's
// lines shown together in a fixed order, a summary line for each, and one
// compilation database for them all.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "building/workspace_projects.h"

// `args` as the entry has them (args[0] the program); the exit status: 1
// when a project failed, or nothing could be found or written.
int runWorkspace(const std::vector<std::string>& args);

// The arguments one project is converted with: a -spec, -target or -var
// whose value begins with "PROJECT:" (for -var, before its "=") is kept for
// the project named PROJECT only, without that prefix; the rest for all.
std::vector<std::string> argumentsFor(const std::vector<std::string>& args,
                                      const std::string& project);

// The projects of `projects` that `names` (-project) choose, by name or by
// output folder, in their order; all of them when `names` is empty. Throws
// Failure InvalidValue naming a name that chooses none.
std::vector<WorkspaceProject> chosenProjects(const std::vector<WorkspaceProject>& projects,
                                             const std::vector<std::string>& names);

// The entries of the compilation databases `databases` (each as a
// conversion writes it) as one database: one entry per file (told by its
// comparable path), in the order the files are first met, the first entry
// of a project whose own file it is, else the first. `othersFiles`, beside
// each database, names the files it enters for other projects (its
// sub-projects), absolute; a database without one enters its own only.
std::string mergedDatabase(const std::vector<std::string>& databases, std::size_t& entries,
                           const std::vector<std::vector<std::string>>& othersFiles = {});

// The "file" of a database entry as the writer writes it, decoded; none
// when it has none.
std::optional<std::string> fileOfEntry(std::string_view entry);
