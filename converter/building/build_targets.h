// Which of the project's own files its build targets build. A target names
// folders ("/Proj/src", recursive or not) and files they exclude; with a
// chosen target, only what it builds is kept, and without one a file is left
// out only when every target excludes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "reading/workbench_facts.h"

class TargetFilter {
 public:
  // `chosen` is one of `targets`, or null for none. `projectName` is the
  // first part of the workspace-relative folder names that mean this project.
  TargetFilter(const std::vector<BuildTarget>& targets, const BuildTarget* chosen,
               std::string projectName);

  // Whether the file at `path` (relative to the project folder, with "/" or
  // "\") is kept.
  bool keeps(std::string_view path) const;

 private:
  struct Folder {
    std::string path;  // relative to the project folder, "/"-separated; "" for the folder itself
    bool recursive;
    bool named;        // false for the excludes of a target as a whole
    std::vector<std::string> excludes;  // relative to the project folder
  };
  struct Target {
    std::vector<Folder> folders;
    bool buildsFolders = false;
  };
  Target ownPart(const BuildTarget& target) const;
  static bool builds(const Target& target, const std::string& path);
  static bool excludes(const Target& target, const std::string& path);

  std::string projectName;
  std::vector<Target> all;
  bool keepsAll = false;  // some target excludes nothing
  bool hasChosen = false;
  Target chosen;
};
