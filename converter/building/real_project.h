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

#include "building/mode_context.h"
#include "building/variables.h"
#include "model/file_group.h"

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
void buildRealProjectTree(std::istream& in, FileGroup& root, const ModeContext& context,
                          RealProjectResult& result);
RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const ModeContext& context);
