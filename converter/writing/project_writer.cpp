#include "writing/project_writer.h"

#include <string>
#include <string_view>
#include <vector>

#include "model/failure.h"
#include "platform/platform.h"
#include "text/utf8.h"
#include "writing/group_writer.h"
#include "writing/output_lines.h"
#include "writing/personality_files.h"
#include "writing/run_outputs.h"

namespace {

// The project name and the group names become folder and file names below
// the destination; these would lead out of it or into another folder. A zero
// byte (possible in a name read from the project description) ends the name
// the system sees, so "A\0B" would become the file "A". A line break cannot
// be written into the line-based project file without forging lines.
bool isUnsafeName(const std::string& name) {
  return name == "." || name == ".." ||
         name.find_first_of(std::string_view("/\\\0\r\n", 5)) != std::string::npos;
}

// The project name also names the personality files and is shown in every
// block: no control character at all, C1 included where names are UTF-8.
bool isUnsafeProjectName(const std::string& name) {
  if (isUnsafeName(name)) return true;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (controlLengthAt(name, i, platform::namesAreUtf8) != 0) return true;
  }
  return false;
}

}  // namespace

void checkProjectNames(const FileGroup& root, const std::string& projectName) {
  if (isUnsafeProjectName(projectName)) throw Failure(FailureKind::InvalidName, projectName);
  std::vector<const FileGroup*> pending{&root};
  while (!pending.empty()) {
    const FileGroup* group = pending.back();
    pending.pop_back();
    if (group != &root && isUnsafeName(group->name)) {
      throw Failure(FailureKind::InvalidName, group->name);
    }
    for (const auto& child : group->subGroups) pending.push_back(child.get());
  }
}

void writeAnalyserProject(const FileGroup& root, const ProjectLayout& layout,
                          const NoteSink& notes,
                          const std::function<void(PendingFiles&)>& alongside) {
  checkProjectNames(root, layout.projectName);
  const std::string path = projectFile(layout);
  PendingFiles pending;
  if (alongside) alongside(pending);
  std::ofstream out = pending.open(path);
  notes({NoteKind::CreatingProject});
  makeGroupFolders(root, layout);
  writeLine(out, "VersionTag45");
  PersonalityFiles files;
  writeGroup(out, root, layout, files, notes);
  closeChecked(out, path);
  writePersonalityFiles(files, layout, pending, notes);
  pending.commit();
  notes({NoteKind::ProjectCompleted});
}
