#include "model/file_group.h"

#include <utility>

FileGroup::FileGroup(std::string name) : name(std::move(name)) {}

// A deep tree must not exhaust the stack on the way down, so sub-groups are
// detached into a work list and destroyed one by one instead of recursively.
FileGroup::~FileGroup() {
  std::vector<std::unique_ptr<FileGroup>> pending = std::move(subGroups);
  while (!pending.empty()) {
    std::unique_ptr<FileGroup> group = std::move(pending.back());
    pending.pop_back();
    if (!group) continue;  // moved away
    for (auto& child : group->subGroups) pending.push_back(std::move(child));
    group->subGroups.clear();
  }
}

bool holdsNothing(const FileGroup& group) { return group.files.empty() && group.subGroups.empty(); }

void pruneEmptyGroups(FileGroup& root, const std::function<bool(const FileGroup&)>& prunes) {
  walkGroups(root, [](FileGroup&) {}, [&](FileGroup& group) {
    std::erase_if(group.subGroups, [&](const std::unique_ptr<FileGroup>& sub) {
      return holdsNothing(*sub) && (!prunes || prunes(*sub));
    });
  });
}
