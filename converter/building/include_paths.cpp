#include "building/include_paths.h"

#include <algorithm>

#include "text/path.h"
#include "text/repeats.h"
#include "text/variable_references.h"

std::string buildFolderOf(const std::string& projectFolder, const std::string& spec,
                          const std::vector<SpecValue>& outputFolders) {
  if (spec.empty()) return projectFolder;
  std::string folder = spec;
  for (const auto& redirect : outputFolders) {
    if (redirect.spec == spec && !redirect.value.empty()) folder = redirect.value;
  }
  return path::isAbsolute(folder) ? folder : path::join(projectFolder, folder);
}

std::string mapped(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& maps) {
  const auto same = [](char a, char b) {
    return a == b || ((a == '/' || a == '\\') && (b == '/' || b == '\\'));
  };
  const std::pair<std::string, std::string>* best = nullptr;
  for (const auto& map : maps) {
    const std::string& from = map.first;
    if (from.size() > path.size() || (best && from.size() <= best->first.size())) continue;
    if (std::equal(from.begin(), from.end(), path.begin(), same)) best = &map;
  }
  return best ? best->second + path.substr(best->first.size()) : path;
}

// Relative paths are taken from the build folder, where the compiler runs.
std::vector<std::string> includePathsOf(
    std::vector<std::string> entries, const std::function<std::string(const std::string&)>& projectFolder,
    VariableExpander& variables, const std::vector<std::pair<std::string, std::string>>& maps,
    const std::string& buildFolder) {
  std::vector<std::string> paths;
  paths.reserve(entries.size());
  for (auto& entry : entries) {
    std::string path = std::move(entry);
    const std::size_t percent = path.find('%');
    const bool inProject = percent != std::string::npos;
    if (inProject) path = projectFolder(path.substr(0, percent)) + path.substr(percent + 1);
    variables.expandInPlace(path);
    bool placed = inProject;  // where a project or a -map put it
    if (!maps.empty()) {
      std::string rewritten = mapped(path, maps);
      placed = placed || rewritten != path;
      path = std::move(rewritten);
    }
    if (path.empty()) continue;
    if (!placed && !path::isAbsolute(path) && !holdsReference(path)) {
      path = path::comparable(path, buildFolder);
    }
    paths.push_back(std::move(path));
  }
  dropRepeats(paths);
  for (const auto& path : paths) variables.countLeft(path, VariableExpander::IncludePath);
  return paths;
}

void dropRepeats(std::vector<std::string>& texts) {
  const std::vector<bool> repeated = repeatedItems(
      texts.size(), [&](std::size_t i) { return std::hash<std::string>{}(texts[i]); },
      [&](std::size_t i, std::size_t j) { return texts[i] == texts[j]; });
  std::size_t kept = 0;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (repeated[i]) continue;
    if (kept != i) texts[kept] = std::move(texts[i]);
    ++kept;
  }
  texts.resize(kept);
}
