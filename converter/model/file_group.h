// One group of the analyser project: a folder of source files, with the
// include paths and macros that only the root group carries, and the groups
// nested in it. Plain data: the builders fill the tree, writers read it. The root
// is the group at the top of the tree, whatever its name.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct FileGroup {
  explicit FileGroup(std::string name = {});
  FileGroup(FileGroup&&) = default;
  FileGroup& operator=(FileGroup&&) = default;
  ~FileGroup();

  std::string name;
  std::vector<std::string> files;
  std::vector<std::string> includePaths;
  std::map<std::string, std::string> macros;  // in byte order of the names
  std::vector<std::unique_ptr<FileGroup>> subGroups;
  // The folder whose files the group holds, where it is not the one the
  // group's place below the workspace folder implies; empty otherwise.
  std::string sourceFolder;
};

// Visits `root` and every group below it depth-first, pre-order: enter(group)
// before its sub-groups, leave(group) after them. An explicit stack, since
// sub-groups nest as deep as the source tree, deeper than the call stack
// would allow.
template <typename Group, typename Enter, typename Leave>
void walkGroups(Group& root, Enter enter, Leave leave) {
  struct Open {
    Group* group;
    std::size_t nextChild;
  };
  std::vector<Open> open{{&root, 0}};
  enter(root);
  while (!open.empty()) {
    Open& top = open.back();
    if (top.nextChild < top.group->subGroups.size()) {
      Group& child = *top.group->subGroups[top.nextChild++];
      enter(child);
      open.push_back({&child, 0});
      continue;
    }
    leave(*top.group);
    open.pop_back();
  }
}

// Whether the group holds no file and no sub-group.
bool holdsNothing(const FileGroup& group);

// Removes, from the bottom up, each group below `root` that holds nothing
// (once its own empty sub-groups are gone) and that `prunes` names, or
// every such group without `prunes`. The only place groups are pruned.
void pruneEmptyGroups(FileGroup& root,
                      const std::function<bool(const FileGroup&)>& prunes = nullptr);
