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
  // The groups in the project file's order, the root named as the
  // project; empty when reading failed before the tree was built.
  struct Group {
    std::string name;
    std::string path;  // the names down to it, apart by "/"
    std::size_t files = 0;
    // In the real-project mode, whose files it holds; none: no owners named.
    std::optional<std::string> owner;
  };
  std::vector<Group> groups;
  std::size_t includePaths = 0;  // the root group's
  std::size_t macros = 0;
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

// The groups of the tree below `root` for `description`, the root named as
// `projectName`. Each group's owner is the nearest group at or above it that
// `owned` names, else `owner` (none: no owners named).
void describeGroups(Description& description, const FileGroup& root,
                    const std::string& projectName, const std::optional<std::string>& owner,
                    const std::vector<std::pair<const FileGroup*, std::string>>& owned);

// The JSON document of `description`, ended with a line feed. A name or
// path that is not UTF-8 is left out of its list, with a note (bytes that
// are no UTF-8 shown as "?") whose line `textOf` gives; the project's name
// is then given as "". In the warnings and the failure such bytes are shown
// as "?".
// `indent` goes before every line but the first.
std::string describedJson(const Description& description,
                          const std::function<std::string(const Note&)>& textOf,
                          const std::string& indent = "");

// A workspace run described (Plovik -workspace ... -describe): each project
// found, with the description of its conversion.
struct WorkspaceDescription {
  std::string workspace;    // as given
  std::string destination;  // absolute
  struct Project {
    std::string name;
    std::string folder;
    std::string output;
    // None when its conversion stopped before it could say.
    std::optional<Description> description;
  };
  std::vector<Project> projects;
  std::vector<std::string> warnings;  // the workspace's own
  std::optional<std::string> failure;
};

// Its JSON document, each project's description as describedJson makes it.
// A text of the workspace's own that is not UTF-8 has each byte from 0x80
// up shown as "?".
std::string workspaceJson(const WorkspaceDescription& description,
                          const std::function<std::string(const Note&)>& textOf);
