// The description of a conversion that is not done (Plovik -describe): what
// the conversion would read, choose, list and say, as one JSON document.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/file_group.h"
#include "model/note.h"

struct Description {
  struct Variable {
    std::string name;
    std::optional<std::string> value;  // the whole expansion; none: it has none
    std::string source;                // "-var", "build macro", "Workbench", "environment", "unresolved"
  };

  bool realProject = false;
  std::string projectName;
  std::string projectFrom;  // ".project", "-pn" or "none"
  std::vector<std::string> knownSpecs;
  std::optional<std::string> defaultSpec;
  std::optional<std::string> chosenSpec;  // none: every build spec is read
  std::vector<std::string> knownTargets;
  std::optional<std::string> chosenTarget;
  std::vector<std::pair<std::string, std::optional<std::string>>> referencedProjects;
  // In the real-project mode, beside each referenced project in its order:
  // whose settings its files take ("own", its .wrproject's; "project", the
  // project's, as it has none readable; none: not found) and the build spec
  // read there (none: none was). Empty outside the real-project mode.
  struct SubprojectBuild {
    std::optional<std::string> settings;
    std::optional<std::string> buildSpec;
  };
  std::vector<SubprojectBuild> subprojectBuilds;
  // In the real-project mode, whose files each group holds: a sub-project's
  // for its own group and those below it, else `owner`'s (none: no owners).
  std::optional<std::string> owner;
  std::vector<std::pair<const FileGroup*, std::string>> ownedGroups;
  std::vector<Variable> variables;
  // The real-project mode's: for C and C++ sources, the program the
  // database names and which simple command of the recipe compiles.
  struct Compiler {
    std::string program;     // empty: none could be told (the database names cc or c++)
    std::size_t command = 0;   // from 1; 0: the build spec has no command, or none can be told
    std::size_t commands = 0;  // the recipe's simple commands
    bool maybe = false;        // in a branch whose condition is unknown
  };
  Compiler cCompiler, cxxCompiler;
  const FileGroup* root = nullptr;  // the group tree; none when reading failed before it
  // The files compiled with settings a build target gives them, in the
  // tree's order, and whose attributes those are.
  struct FileSettings {
    std::string file;               // as the group tree lists it
    std::string target;             // the build target whose contents build it
    std::vector<std::string> from;  // "target", "folder", "file": whose attributes
  };
  std::vector<FileSettings> fileSettings;
  std::vector<std::string> warnings;
  std::optional<std::string> failure;
};

// The JSON document of `description`, ended with a line feed. A name or
// path that is not UTF-8 is left out of its list, with a note (bytes that
// are no UTF-8 shown as "?") whose line `textOf` gives; the project's name
// is then given as "". In the warnings and the failure such bytes are shown
// as "?".
std::string describedJson(const Description& description,
                          const std::function<std::string(const Note&)>& textOf);
