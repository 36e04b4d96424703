// Every file and folder a run writes, named in one place: the writers make
// them under these names, the checks before writing compare them with the
// run's inputs, and the folder scans pass over those that could otherwise
// come back as sources of the next run.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/file_group.h"
#include "text/path.h"
#include "writing/project_layout.h"

enum class OutputKind {
  Destination,          // the destination folder itself
  ProjectFile,          // DEST/NAME.prj
  PersonFolder,         // DEST/person/
  MessagePersonality,   // DEST/person/NAME.p_s, unless -mp names one
  AnalyserPersonality,  // DEST/person/NAME.p_a, always
  CompilerPersonality,  // DEST/person/NAME.p_c, unless -cp names one
  CompilationDatabase,  // -cdb FILE
};

struct RunOutput {
  OutputKind kind;
  std::string path;
};

// The outputs of a run into `layout` (the group folders aside) in the order
// the commit opens them: the database when `database` names one, the
// project file, the personality files this run makes; then the two folders.
std::vector<RunOutput> runOutputs(const ProjectLayout& layout, const std::string& database);

// Whether the folder scans pass over an output wherever they meet it: the
// folders and the files a run of the same project made last time. The
// personality files lie in the person folder, and so are passed over with it.
bool scansPassOver(OutputKind kind);
// Whether an output is a file that the commit replaces as a whole.
bool isReplacedFile(OutputKind kind);

std::string projectFile(const ProjectLayout& layout);
// Ends with a separator: the folder as the blocks name it.
std::string personFolder(const ProjectLayout& layout);
// The personality file of kind MessagePersonality, AnalyserPersonality or
// CompilerPersonality that this run makes.
std::string personalityFile(const ProjectLayout& layout, OutputKind kind);

// A group's folder below the destination, its path the project name and the
// names of the groups above it; and its output folder, ending with a
// separator as the blocks name it.
std::string groupFolder(const ProjectLayout& layout, std::string_view groupPath);
std::string groupOutputFolder(const ProjectLayout& layout, std::string_view groupPath);

// Visits the groups below `root` in block order with their group paths. The
// root is the group at the top, told by its place and not by its name: a
// sub-project or folder may well be called "root" too.
template <typename Enter, typename Leave>
void walkGroupPaths(const FileGroup& root, const ProjectLayout& layout, Enter enter,
                    Leave leave) {
  std::vector<std::string> paths;  // of the groups entered and not yet left
  walkGroups(
      root,
      [&](const FileGroup& group) {
        const bool isRoot = paths.empty();
        std::string groupPath =
            isRoot ? layout.projectName : path::join(paths.back(), group.name);
        enter(group, groupPath, isRoot);
        paths.push_back(std::move(groupPath));
      },
      [&](const FileGroup& group) {
        leave(group);
        paths.pop_back();
      });
}

// Every folder the run makes in the destination: the person folder, and
// each group's folder with its output folder.
std::vector<std::string> runFolders(const FileGroup& root, const ProjectLayout& layout);
