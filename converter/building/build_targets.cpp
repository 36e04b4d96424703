#include "building/build_targets.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "text/path.h"

namespace {

std::string slashed(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  while (!result.empty() && result.back() == '/') result.pop_back();
  return result;
}


}  // namespace

TargetFilter::TargetFilter(const std::vector<BuildTarget>& targets, const BuildTarget* picked,
                           std::string name)
    : projectName(std::move(name)) {
  for (const auto& target : targets) {
    Target part = ownPart(target, targets);
    // A target that excludes nothing keeps every file: the others need not
    // be looked at (a file may hold millions of targets).
    if (std::all_of(part.folders.begin(), part.folders.end(),
                    [](const Folder& folder) { return folder.excludes.empty(); })) {
      all.clear();
      keepsAll = true;
      break;
    }
    all.push_back(std::move(part));
  }
  if (picked != nullptr) {
    hasChosen = true;
    chosen = ownPart(*picked, targets);
  }
}

// The target's folders that lie in this project, made relative to it; an
// exclude starting with "/" names a path from the workspace, any other one a
// path below its folder.
TargetFilter::Target TargetFilter::ownPart(const BuildTarget& target,
                                           const std::vector<BuildTarget>& targets) {
  const std::string own = "/" + projectName;
  Target part;
  following.push_back(&target);
  for (const auto& file : target.files) {
    const std::string path = slashed(file);
    if (!path.starts_with(own + "/")) continue;
    part.files.push_back(path.substr(own.size() + 1));
    part.namesContents = true;
  }
  for (const auto& reference : target.references) addReferenced(reference, targets, part);
  following.pop_back();
  for (const auto& folder : target.folders) {
    const std::string name = slashed(folder.name);
    Folder kept{"", folder.recursive, !name.empty(), {}};
    if (kept.named) {
      if (name != own && !name.starts_with(own + "/")) continue;
      kept.path = name.size() > own.size() ? name.substr(own.size() + 1) : "";
      part.namesContents = true;
    }
    for (const auto& exclude : folder.excludes) {
      const std::string path = slashed(exclude);
      if (path.starts_with("/")) {
        if (path.starts_with(own + "/")) kept.excludes.push_back(path.substr(own.size() + 1));
      } else {
        kept.excludes.push_back(kept.path.empty() ? path : kept.path + "/" + path);
      }
    }
    part.folders.push_back(std::move(kept));
  }
  return part;
}

// "/P/T" names target T of project P; targets of other projects build none
// of this one's files.
void TargetFilter::addReferenced(const std::string& reference,
                                 const std::vector<BuildTarget>& targets, Target& part) {
  const std::string name = slashed(reference);
  const std::string own = "/" + projectName + "/";
  if (!name.starts_with(own)) return;
  const auto found = std::find_if(targets.begin(), targets.end(), [&](const BuildTarget& target) {
    return target.name == std::string_view(name).substr(own.size());
  });
  if (found == targets.end()) return;
  part.namesContents = true;
  const auto open = std::find(following.begin(), following.end(), &*found);
  if (open != following.end()) {
    // Each loop is named once, from whichever of its targets it was met.
    std::set<std::string> members;
    std::string loop;
    for (auto at = open; at != following.end(); ++at) {
      members.insert((*at)->name);
      loop += (*at)->name + " -> ";
    }
    if (loopMembers.insert(members).second) loopsFound.push_back(loop + found->name);
    return;
  }
  // Targets that refer to one another many times over, or in a chain of
  // thousands, are followed a bounded number of times and levels deep: the
  // recursion must not run out of stack.
  if (following.size() >= kMaxDepth || ++referencesFollowed > kMaxReferences) return;
  Target referenced = ownPart(*found, targets);
  std::move(referenced.folders.begin(), referenced.folders.end(), std::back_inserter(part.folders));
  std::move(referenced.files.begin(), referenced.files.end(), std::back_inserter(part.files));
}

bool TargetFilter::builds(const Target& target, const std::string& path) {
  if (!target.namesContents) return true;
  if (std::find(target.files.begin(), target.files.end(), path) != target.files.end()) return true;
  return std::any_of(target.folders.begin(), target.folders.end(), [&](const Folder& folder) {
    if (!folder.named) return false;
    if (!folder.recursive) return path::folderOf(path, path::Style::posix) == folder.path;
    return folder.path.empty() || path.starts_with(folder.path + "/");
  });
}

bool TargetFilter::excludes(const Target& target, const std::string& path) {
  return std::any_of(target.folders.begin(), target.folders.end(), [&](const Folder& folder) {
    return std::find(folder.excludes.begin(), folder.excludes.end(), path) != folder.excludes.end();
  });
}

bool TargetFilter::keeps(std::string_view relativePath) const {
  const std::string path = slashed(relativePath);
  if (hasChosen) return builds(chosen, path) && !excludes(chosen, path);
  if (keepsAll || all.empty()) return true;
  return !std::all_of(all.begin(), all.end(),
                      [&](const Target& target) { return excludes(target, path); });
}
