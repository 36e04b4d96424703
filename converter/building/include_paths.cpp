#include "building/include_paths.h"

#include <algorithm>

#include "reading/build_markers.h"
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
    return a == b || (path::isSeparator(a, path::workbench) && path::isSeparator(b, path::workbench));
  };
  const std::pair<std::string, std::string>* best = nullptr;
  for (const auto& map : maps) {
    const std::string& from = map.first;
    if (from.size() > path.size() || (best && from.size() <= best->first.size())) continue;
    if (std::equal(from.begin(), from.end(), path.begin(), same)) best = &map;
  }
  return best ? best->second + path.substr(best->first.size()) : path;
}

namespace {

// The linked folder `path` lies at or below, the link's location put in.
std::string throughLink(std::string path, const IncludeContext& context) {
  if (context.linkedFolders.empty() || holdsReference(path)) return path;
  const std::string where = path::comparable(path, context.buildFolder);
  for (const auto& [shown, location] : context.linkedFolders) {
    if (!where.starts_with(shown)) continue;
    if (where.size() == shown.size()) return location;
    if (path::isSeparator(where[shown.size()])) {
      return path::join(location, where.substr(shown.size() + 1));
    }
  }
  return path;
}

}  // namespace

// Relative paths are taken from the build folder, where the compiler runs.
std::string resolvedInclude(std::string path, const IncludeContext& context) {
  constexpr std::string_view kProject = kProjectReference;
  bool placed = false;  // where a project or a -map put it
  if (path.starts_with(kProject)) {
    const std::size_t percent = path.find('%', kProject.size());
    if (percent != std::string::npos) {
      const std::string name = path.substr(kProject.size(), percent - kProject.size());
      path = context.projectFolder(name) + path.substr(percent + 1);
      placed = true;
    }
  }
  if (!context.maps.empty()) {
    std::string rewritten = mapped(path, context.maps);
    placed = placed || rewritten != path;
    path = std::move(rewritten);
  }
  if (path.empty()) return path;
  if (!placed && !path::isAbsolute(path) && !holdsReference(path)) {
    path = path::comparable(path, context.buildFolder);
  }
  return throughLink(std::move(path), context);
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
