// Every text the converter shows its user: the usage and version lines,
// the line of each failure, each progress line and each warning. One place,
// so that the wording is kept and tested as a whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/failure.h"
#include "model/note.h"

// The two lines of the usage text.
std::vector<std::string> usageLines();
// What --version prints.
std::string versionLine();
// The one line the converter prints for `failure`.
std::string messageFor(const Failure& failure);
// The line of a note: a progress line or a warning ("Warning: ...").
std::string textOf(const Note& note);
// The same appended to `out`: the warnings about variables, by the hundred
// thousand, are written without a string of their own each.
void appendTextOf(const Note& note, std::string& out);
// The failure of an option given without its value, as a description names it.
std::string missingValueMessage(const std::string& option);

// The workspace run's own lines (Plovik -workspace).
// "Project 1 of 2: App (/ws/App)", `index` counted from 1.
std::string workspaceProjectHeading(std::size_t index, std::size_t count, const std::string& name,
                                    const std::string& folder);
// "Workspace: 2 of 2 projects converted".
std::string workspaceCountLine(std::size_t converted, std::size_t total);
// "App: converted", "App: converted with 1 warning", "App: failed: FAILURE".
std::string workspaceSummaryLine(const std::string& name, bool converted, std::size_t warnings,
                                 const std::string& failure);
// What the summary says of a project that ended on an error of no kind.
std::string workspaceUnexpectedFailure();
// "Compilation database: 5 entries of 3 projects", and the projects
// without entries as they failed.
std::string workspaceDatabaseLine(std::size_t entries, std::size_t projects,
                                  const std::vector<std::string>& failed);
// The warning of a workspace search stopped at its bounds.
// The line of a run where no project converted: the database is left as it was.
std::string workspaceNoDatabaseLine();
std::string workspaceSearchCutShortLine(std::size_t depth, std::size_t folders);

// The line on standard error when standard output could not be written.
std::string outputFailedLine();
