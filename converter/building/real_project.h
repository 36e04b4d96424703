// The real-project mode (-wb): the group tree of what a Workbench project
// really builds. The project's own folder is scanned too, one build spec is
// read, its defines lists and variables are taken in, and referenced
// projects are found by their names.
#pragma once

#include <istream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "building/folder_scan.h"
#include "building/project_locator.h"
#include "building/variables.h"
#include "model/file_group.h"
#include "model/note.h"
#include "reading/linked_resources.h"

struct RealProjectOptions {
  bool enabled = false;
  std::string spec;    // -spec; empty: the file's default spec
  std::string target;  // -target; empty: none
  std::vector<std::pair<std::string, std::string>> variables;  // -var NAME=VALUE, in order
  std::vector<std::pair<std::string, std::string>> maps;       // -map FROM=TO, in order
};

struct RealProjectInputs {
  std::string workspaceDir;
  std::string projectFolder;  // the folder that holds the .project
  std::string projectName;    // the project's own name
  std::vector<std::string> referencedProjects;  // as the .project lists them
  std::string currentDirectory;  // what relative paths are compared against
  FolderScan scan;
  ProjectNameReader readProjectName;
  Environment environment;
  ProjectLinks links;  // the linked resources of the .project
  NoteSink notes;      // where its warnings go
  // Whether a compilation database will be written: its compilers' words
  // cost a resolved path per include folder, wasted without one.
  bool databaseWanted = true;
};

struct RealProjectResult {
  std::string spec;         // the build spec read; empty: all of them
  std::string cCompiler;    // its C compiler command, empty when there is none
  std::string cxxCompiler;  // and its C++ compiler command
  std::string cProgram;     // the programs they run, variables expanded; empty:
  std::string cxxProgram;   // none could be told
  // The macros of C and of C++ sources; the root group holds the ones the
  // analyser personality takes.
  std::map<std::string, std::string> cMacros;
  std::map<std::string, std::string> cxxMacros;
  // The compilers' words as make runs them, for the compilation database:
  // the program first (empty: none could be told), "$<" for the source and
  // "$@" for its object, which lies in `objectFolder`. Empty: no command.
  std::vector<std::string> cWords;
  std::vector<std::string> cxxWords;
  std::string objectFolder;

  // What a description of the run names (Plovik -describe).
  std::vector<std::string> knownSpecs;  // the file's list, then those only keys name
  std::string defaultSpec;              // empty: none
  std::vector<std::string> knownTargets;
  // Each sub-project looked for, with the folder it was found in (none: not found).
  std::vector<std::pair<std::string, std::optional<std::string>>> subprojectFolders;
  std::vector<VariableExpander::Reference> variables;
};

// Reads the build description from `in` into `root`. Throws Failure
// (UnknownBuildSpec, UnknownBuildTarget) before anything is scanned.
// The same into `result`, which keeps what was found before a throw.
void buildRealProjectTree(std::istream& in, FileGroup& root, const RealProjectInputs& inputs,
                          const RealProjectOptions& options, RealProjectResult& result);
RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectInputs& inputs,
                                       const RealProjectOptions& options);
