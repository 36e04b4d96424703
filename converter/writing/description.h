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
  std::vector<Variable> variables;
  const FileGroup* root = nullptr;  // the group tree; none when reading failed before it
  // The files compiled with settings other than the project's own, in the
  // tree's order, and whose they are.
  struct FileSettings {
    std::string file;                   // as the group tree lists it
    std::string owner;                  // the project whose build description gives them
    std::optional<std::string> spec;    // the build spec read there; none: all of them
    std::optional<std::string> target;  // the build target whose attributes they are
    std::vector<std::string> from;      // "target", "folder", "file": whose attributes
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
