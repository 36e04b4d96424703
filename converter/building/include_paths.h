// The real-project mode's include paths, from the include entries of the
// build spec: a project's folder for %Proj-NAME%, variables expanded, -map
// applied, a relative path taken from the build folder, each path once.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

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

// What an include folder of a compile command is resolved against.
struct IncludeContext {
  std::function<std::string(const std::string&)> projectFolder;  // of %Proj-NAME%
  const std::vector<std::pair<std::string, std::string>>& maps;  // -map FROM=TO
  std::string buildFolder;  // where the compiler runs
  // The project's linked folders: where the project shows each (comparable,
  // below the project folder) and where it lies.
  std::vector<std::pair<std::string, std::string>> linkedFolders;
};

// The folder an include word names: %Proj-NAME%tail that project's folder
// and the tail, -map applied, a relative path taken from the build folder,
// a path at or below a linked folder taken from the link's location. Empty
// for an empty path.
std::string resolvedInclude(std::string path, const IncludeContext& context);

// Keeps the first of each run of equal texts, in order.
void dropRepeats(std::vector<std::string>& texts);
