#include "building/unique_files.h"

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "text/path.h"
#include "text/repeats.h"

void dropRepeatedFiles(FileGroup& root, const std::string& currentDirectory,
                       const std::set<const FileGroup*>& keptGroups) {
  std::vector<std::pair<FileGroup*, std::size_t>> files;
  walkGroups(root, [&](FileGroup& group) {
    for (std::size_t i = 0; i < group.files.size(); ++i) files.emplace_back(&group, i);
  }, [](FileGroup&) {});
  // A file is told by its folder's comparable path, made once for the
  // files of a folder, and its name.
  // (The folder is kept with its separator: the name's start tells it.)
  std::string folder;
  std::size_t folderHash = 0;
  const auto hash = [&](std::size_t i) {
    const std::string_view file = files[i].first->files[files[i].second];
    const std::size_t name = path::fileNameStart(file);
    if (file.substr(0, name) != folder) {
      folder = file.substr(0, name);
      folderHash = std::hash<std::string>{}(path::comparable(path::parentFolder(file), currentDirectory));
    }
    return folderHash * 31 + std::hash<std::string_view>{}(file.substr(name));
  };
  const auto key = [&](std::size_t i) {
    const std::string& file = files[i].first->files[files[i].second];
    return path::comparable(file, currentDirectory);
  };
  const std::vector<bool> repeated = repeatedItems(
      files.size(), hash, [&](std::size_t i, std::size_t j) { return key(i) == key(j); });
  // A group's files are next to each other in the list.
  std::set<const FileGroup*> emptied;
  for (std::size_t i = 0; i < files.size();) {
    FileGroup* group = files[i].first;
    std::size_t kept = 0;
    for (; i < files.size() && files[i].first == group; ++i) {
      if (repeated[i]) continue;
      if (kept != files[i].second) group->files[kept] = std::move(group->files[files[i].second]);
      ++kept;
    }
    if (kept == group->files.size()) continue;
    group->files.resize(kept);
    emptied.insert(group);
  }
  if (emptied.empty()) return;
  pruneEmptyGroups(root, [&](const FileGroup& group) {
    return emptied.count(&group) > 0 && keptGroups.count(&group) == 0;
  });
}
