// What every step of the real-project mode (-wb) reads and none changes:
// the project, its folders, the options that refine it and the ways of
// asking the system. Made once by the driver; what a step finds it hands to
// the next as a value of its own.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "building/folder_scan.h"
#include "building/project_locator.h"
#include "building/variables.h"
#include "model/note.h"
#include "reading/linked_resources.h"

struct RealProjectOptions {
  bool enabled = false;
  std::string spec;    // -spec; empty: the file's default spec
  std::string target;  // -target; empty: none
  // -var NAME=VALUE: each name once, with the value given last.
  std::vector<std::pair<std::string, std::string>> variables;
  std::vector<std::pair<std::string, std::string>> maps;  // -map FROM=TO, in order
};

struct RealProjectContext {
  // The project.
  std::string projectName;                      // its own name
  std::vector<std::string> referencedProjects;  // as the .project lists them
  ProjectLinks links;                           // the linked resources of the .project
  // Its folders.
  std::string workspaceDir;
  std::string projectFolder;     // the folder that holds the .project
  std::string currentDirectory;  // what relative paths are compared against
  // The options.
  RealProjectOptions options;
  // Whether a compilation database will be written: its compilers' words
  // cost a resolved path per include folder, wasted without one.
  bool databaseWanted = true;
  // The system.
  FolderScan scan;  // the run's: its lister, extensions and outputs passed over
  ProjectNameReader readProjectName;
  // A sub-project's build description at the path, read as the project's
  // own is: only a regular file; null when there is none.
  std::function<std::unique_ptr<std::istream>(const std::string& path)> openBuildDescription;
  Environment environment;
  NoteSink notes;  // where its warnings and steps go
};
