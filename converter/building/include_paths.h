// The real-project mode's include paths, from the include entries of the
// build spec: a project's folder for %Proj-NAME%, variables expanded, -map
// applied, a relative path taken from the build folder, each path once.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "building/variables.h"
#include "reading/workbench_facts.h"

// The chosen build spec's build folder: its redirDir, relative to the
// project folder, named like the build spec when the file gives none; the
// project folder without a build spec.
std::string buildFolderOf(const std::string& projectFolder, const std::string& spec,
                          const std::vector<SpecValue>& outputFolders);

// Rewrites the start of `path` by the longest FROM of `maps` it begins with,
// "/" and "\" counting as the same.
std::string mapped(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& maps);

// The include paths of `entries` (each NAME%tail or a path), in order, empty
// ones dropped and each kept once. `projectFolder(NAME)` gives a project's
// folder; what is left of variables is counted in `variables`.
std::vector<std::string> includePathsOf(
    std::vector<std::string> entries, const std::function<std::string(const std::string&)>& projectFolder,
    VariableExpander& variables, const std::vector<std::pair<std::string, std::string>>& maps,
    const std::string& buildFolder);

// Keeps the first of each run of equal texts, in order.
void dropRepeats(std::vector<std::string>& texts);
