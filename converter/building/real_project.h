// The real-project mode (-wb): the group tree of what a Workbench project
// really builds. The project's own folder is scanned too, one build spec is
// read, its defines lists and variables are taken in, and referenced
// projects are found by their names.
#pragma once

#include <functional>
#include <istream>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "building/compiler_commands.h"
#include "building/include_paths.h"
#include "building/real_project_context.h"
#include "building/variables.h"
#include "model/file_group.h"

// What compiles a set of files as make runs it: a project's build spec, or
// a build target's own settings for the files it names.
struct CompileSettings {
  std::string cProgram;    // the programs the commands run, variables expanded;
  std::string cxxProgram;  // empty: none could be told
  // The macros of C and of C++ sources.
  std::map<std::string, std::string> cMacros;
  std::map<std::string, std::string> cxxMacros;
  // The compilers' words as make runs them, for the compilation database:
  // the program first (empty: none could be told), "$<" for the source and
  // "$@" for its object, which lies in `objectFolder`. Empty: no command.
  std::vector<std::string> cWords;
  std::vector<std::string> cxxWords;
  std::string objectFolder;
};

// Settings other than the project's own, and whose they are.
struct OtherSettings : CompileSettings {
  std::string owner;   // the project whose build description gives them
  std::string spec;    // the build spec read there; empty: all of them
  std::string target;  // the build target whose own attributes these are; empty: none
  // Whose attributes they are, outermost first: "target" (its own),
  // "folder" (a folder of its contents), "file" (the file's own entry).
  std::vector<std::string> levels;
};

// What a build description offers -spec and -target, as a description of
// the run names it (Plovik -describe).
struct BuildChoices {
  std::vector<std::string> knownSpecs;  // the file's list, then those only keys name
  std::string defaultSpec;              // empty: none
  std::vector<std::string> knownTargets;
};

// The project's own settings are the result's own fields; the root group
// holds the macros and include folders the analyser personality takes.
struct RealProjectResult : CompileSettings, BuildChoices {
  std::string spec;         // the build spec read; empty: all of them
  std::string cCompiler;    // its C compiler command, empty when there is none
  std::string cxxCompiler;  // and its C++ compiler command
  // Which simple command of each language's recipe compiles: from 1, 0
  // where none can be told or the build spec has no command; of how many.
  struct CommandChosen {
    std::size_t command = 0;
    std::size_t commands = 0;
    bool maybe = false;  // in a branch whose condition is unknown
  };
  CommandChosen cChosen, cxxChosen;

  // Files that take other settings than the project's own (a sub-project's
  // files, its own; a file a build target gives settings of its own), by
  // the path the group tree lists them under, as an index into
  // `otherSettings`. A file not named takes the project's own.
  std::vector<OtherSettings> otherSettings;
  std::unordered_map<std::string, std::size_t> settingsOfFile;
  // Each sub-project found, in the order looked for: its own group in the
  // tree (valid while the tree is) and the settings its files take, an index
  // into `otherSettings` (none: the project's own, as it has no readable
  // .wrproject).
  struct Subproject {
    std::string name;
    const FileGroup* group = nullptr;
    std::optional<std::size_t> settings;
  };
  std::vector<Subproject> subprojects;

  // What a description of the run names besides the choices (Plovik -describe).
  // Each sub-project looked for, with the folder it was found in (none: not found).
  std::vector<std::pair<std::string, std::optional<std::string>>> subprojectFolders;
  std::vector<VariableExpander::Reference> variables;
};

// Reads the build description from `in` into `root`, and returns what its
// files are compiled with. `choices` is filled as soon as the file is read:
// it stays when Failure (UnknownBuildSpec, UnknownBuildTarget) is thrown,
// before anything is scanned.
RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectContext& context, BuildChoices& choices);
