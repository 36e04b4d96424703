// The reading steps of a run: the project description, then the build
// description into the group tree. Each takes what the command line gave
// and what the step before it found, and hands its own result on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "building/group_tree.h"
#include "building/real_project.h"
#include "driver/options.h"
#include "model/file_group.h"
#include "model/note.h"
#include "reading/linked_resources.h"
#include "reading/workbench_facts.h"

// What the .project says.
struct ReadProject {
  std::string name;          // the analyser project's name: the .project's, else -pn's
  bool nameFromFile = false;  // the .project named the project
  std::string ownName;       // the .project's name, else its folder's: how sub-projects know it
  std::vector<std::string> referencedProjects;  // in file order
  ProjectLinks links;        // its linked resources, in the real-project mode
};

// Throws Failure: CannotOpenFile, or the markup's UnexpectedToken/UnexpectedEnd.
ReadProject readProject(const ConversionOptions& options);

// The group tree and what building it found.
struct BuiltTree {
  FileGroup root;
  RealProjectResult real;         // in the real-project mode
  ProjectFolders defaultFolders;  // without it: the folder each sub-project was given
  // Without the mode, and only when describing: the build specs and targets.
  WorkbenchFacts facts;
};

// Reads the build description into `tree`, which keeps what was found
// before a failure. Warnings go to `notes`. Throws Failure: CannotOpenFile,
// UnknownBuildSpec, UnknownBuildTarget.
void buildTree(const ConversionOptions& options, const ReadProject& project,
               const NoteSink& notes, BuiltTree& tree);

// The name in the .project file at `path`, for finding projects by name.
// Only a regular file is read (a FIFO would hang the run, a link to
// /dev/zero fill the memory), and only its first megabyte: a longer one
// gives the name its first element holds. Nothing when it names none.
std::optional<std::string> readProjectName(const std::string& path);

// The folder that holds the project description.
std::string projectFolderOf(const std::string& sourceProjectPath);
