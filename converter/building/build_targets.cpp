#include "building/build_targets.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "text/path.h"

namespace {

std::string slashed(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  while (!result.empty() && result.back() == '/') result.pop_back();
  return result;
}

bool givesAttributes(const BuildTarget& target) {
  return !target.attributes.empty() || !target.fileAttributes.empty() ||
         std::any_of(target.folders.begin(), target.folders.end(),
                     [](const BuildTarget::Folder& folder) { return !folder.attributes.empty(); });
}

bool holds(const std::vector<std::string>& paths, const std::string& path) {
  return std::find(paths.begin(), paths.end(), path) != paths.end();
}

}  // namespace

TargetFilter::TargetFilter(const std::vector<BuildTarget>& targets, const BuildTarget* picked,
                           std::string name)
    : projectName(std::move(name)) {
  for (const auto& target : targets) byName.try_emplace(target.name, &target);
  const bool attributed = picked == nullptr && std::any_of(targets.begin(), targets.end(), givesAttributes);
  for (const auto& target : targets) {
    // A target without contents builds none of the files the others exclude.
    if (!namesContents(target)) continue;
    Target whole = targetOf(target);
    if (attributed && !whole.parts.empty() && whole.parts.front().owner == &target) {
      ownParts.push_back(whole.parts.front());
    }
    if (keepsAll) continue;
    // A target that excludes nothing keeps every file: the others need not
    // be looked at for excludes (a file may hold millions of targets).
    const bool excludesNone = std::all_of(whole.parts.begin(), whole.parts.end(), [](const Part& part) {
      return part.excludes.empty() &&
             std::all_of(part.folders.begin(), part.folders.end(),
                         [](const Folder& folder) { return folder.excludes.empty(); });
    });
    if (excludesNone) {
      all.clear();
      keepsAll = true;
      if (!attributed) break;
      continue;
    }
    all.push_back(std::move(whole));
  }
  if (picked != nullptr) {
    hasChosen = true;
    chosen = targetOf(*picked);
  }
}

bool TargetFilter::namesContents(const BuildTarget& target) {
  return !target.files.empty() || !target.references.empty() ||
         std::any_of(target.folders.begin(), target.folders.end(),
                     [](const BuildTarget::Folder& folder) { return !folder.name.empty(); });
}

TargetFilter::Target TargetFilter::targetOf(const BuildTarget& target) {
  Target whole;
  if (!namesContents(target)) {
    whole.scope = target.buildTool.empty() ? Scope::Everything : Scope::Nothing;
    return whole;
  }
  added.clear();
  addParts(target, whole);
  // Contents of other projects only: no concern of this one's files.
  if (whole.parts.empty()) whole.scope = Scope::Everything;
  return whole;
}

// The target's contents that lie in this project, made relative to it, as
// a part of their own, then those of the targets it refers to; an exclude
// starting with "/" names a path from the workspace, any other one a path
// below its folder.
void TargetFilter::addParts(const BuildTarget& target, Target& whole) {
  const std::string own = "/" + projectName;
  const auto relative = [&](const std::string& name, std::string& path) {
    if (name != own && !name.starts_with(own + "/")) return false;
    path = name.size() > own.size() ? name.substr(own.size() + 1) : "";
    return true;
  };
  Part part;
  part.owner = &target;
  bool namesOwn = false;
  std::string path;
  for (const auto& file : target.files) {
    const std::string name = slashed(file);
    if (!name.starts_with(own + "/") || !relative(name, path)) continue;
    part.files.push_back(path);
    namesOwn = true;
  }
  for (const auto& file : target.fileAttributes) {
    if (relative(slashed(file.name), path)) part.fileAttributes.emplace_back(path, &file);
  }
  for (const auto& folder : target.folders) {
    const std::string name = slashed(folder.name);
    const bool named = !name.empty();
    Folder kept{"", folder.recursive, {}, &folder};
    if (named) {
      if (!relative(name, kept.path)) continue;
      namesOwn = true;
    }
    std::vector<std::string>& excludes = named ? kept.excludes : part.excludes;
    for (const auto& exclude : folder.excludes) {
      const std::string excluded = slashed(exclude);
      if (excluded.starts_with("/")) {
        if (excluded.starts_with(own + "/")) excludes.push_back(excluded.substr(own.size() + 1));
      } else {
        excludes.push_back(kept.path.empty() ? excluded : kept.path + "/" + excluded);
      }
    }
    if (named) part.folders.push_back(std::move(kept));
  }
  if (namesOwn || !part.excludes.empty()) whole.parts.push_back(std::move(part));
  added.insert(&target);
  following.push_back(&target);
  for (const auto& reference : target.references) addReferenced(reference, whole);
  following.pop_back();
}

// "/P/T" names target T of project P; targets of other projects build none
// of this one's files. A target is followed once for each whole: one met
// again adds nothing new, however many references lead to it.
void TargetFilter::addReferenced(const std::string& reference, Target& whole) {
  const std::string name = slashed(reference);
  const std::string own = "/" + projectName + "/";
  if (!name.starts_with(own)) return;
  const auto found = byName.find(std::string_view(name).substr(own.size()));
  if (found == byName.end()) return;
  const BuildTarget& target = *found->second;
  if (added.contains(&target)) {
    const auto open = std::find(following.begin(), following.end(), &target);
    if (open != following.end()) noteLoop(static_cast<std::size_t>(open - following.begin()), target);
    return;
  }
  // A chain of thousands is followed a bounded number of levels deep: the
  // recursion must not run out of stack.
  if (following.size() >= kMaxDepth) return;
  addParts(target, whole);
}

// The loop from following[from] back to `back`, named once whichever of its
// targets it was met from; past the first few, only counted.
void TargetFilter::noteLoop(std::size_t from, const BuildTarget& back) {
  std::vector<const BuildTarget*> members(following.begin() + static_cast<std::ptrdiff_t>(from),
                                          following.end());
  std::sort(members.begin(), members.end());
  std::string key(reinterpret_cast<const char*>(members.data()),
                  members.size() * sizeof(const BuildTarget*));
  if (!loopMembers.insert(std::move(key)).second) return;
  if (loopsFound.size() == kShownLoops) {
    ++loopsNotShown;
    return;
  }
  std::string loop;
  for (std::size_t at = from; at < following.size(); ++at) loop += following[at]->name + " -> ";
  loopsFound.push_back(loop + back.name);
}

// Whether the part builds the file: a file it names, or one a folder of it
// holds and does not exclude; never one its contents exclude as a whole.
// `innermost`, when given, is set to the deepest such folder.
bool TargetFilter::partBuilds(const Part& part, const std::string& path, const Folder** innermost) {
  if (holds(part.excludes, path)) return false;
  const Folder* deepest = nullptr;
  for (const auto& folder : part.folders) {
    const bool inside = folder.recursive
                            ? folder.path.empty() || path.starts_with(folder.path + "/")
                            : path::parentFolder(path, path::Style::posix) == folder.path;
    if (!inside || holds(folder.excludes, path)) continue;
    if (deepest == nullptr || folder.path.size() > deepest->path.size()) deepest = &folder;
  }
  if (innermost != nullptr) *innermost = deepest;
  return deepest != nullptr || holds(part.files, path);
}

bool TargetFilter::builds(const Target& target, const std::string& path) {
  if (target.scope != Scope::Listed) return target.scope == Scope::Everything;
  return std::any_of(target.parts.begin(), target.parts.end(),
                     [&](const Part& part) { return partBuilds(part, path); });
}

// Whether some part of the target excludes the file and none builds it.
bool TargetFilter::excludes(const Target& target, const std::string& path) {
  const bool excluded = std::any_of(target.parts.begin(), target.parts.end(), [&](const Part& part) {
    return holds(part.excludes, path) ||
           std::any_of(part.folders.begin(), part.folders.end(),
                       [&](const Folder& folder) { return holds(folder.excludes, path); });
  });
  return excluded && !builds(target, path);
}

bool TargetFilter::keeps(std::string_view relativePath) const {
  const std::string path = slashed(relativePath);
  if (hasChosen) return builds(chosen, path);
  if (keepsAll || all.empty()) return true;
  return !std::all_of(all.begin(), all.end(),
                      [&](const Target& target) { return excludes(target, path); });
}

FileAttributes TargetFilter::attributesIn(const Part& part, const std::string& path) {
  FileAttributes found;
  const Folder* folder = nullptr;
  if (!partBuilds(part, path, &folder)) return found;
  found.target = part.owner;
  if (folder != nullptr && !folder->source->attributes.empty()) found.folder = folder->source;
  for (const auto& [name, file] : part.fileAttributes) {
    if (name == path) found.file = file;
  }
  return found;
}

FileAttributes TargetFilter::attributesOf(std::string_view relativePath) const {
  const std::string path = slashed(relativePath);
  const std::vector<Part>& parts = hasChosen ? chosen.parts : ownParts;
  for (const auto& part : parts) {
    FileAttributes found = attributesIn(part, path);
    if (found.target != nullptr) return found;
  }
  return {};
}
