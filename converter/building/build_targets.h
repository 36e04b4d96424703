// Which of the project's own files its build targets build. A target names
// folders ("/Proj/src", recursive or not) and files they exclude; with a
// chosen target, only what it builds is kept, and without one a file is left
// out only when every target excludes it. A target's own files, and the
// contents of the targets it refers to (in turn), are built as well.
#pragma once

#include <set>
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

  // The targets whose references lead back to themselves, each loop once,
  // as "T -> U -> T": such a reference is not followed.
  const std::vector<std::string>& loops() const { return loopsFound; }

 private:
  struct Folder {
    std::string path;  // relative to the project folder, "/"-separated; "" for the folder itself
    bool recursive;
    bool named;        // false for the excludes of a target as a whole
    std::vector<std::string> excludes;  // relative to the project folder
  };
  struct Target {
    std::vector<Folder> folders;
    std::vector<std::string> files;  // relative to the project folder, "/"-separated
    bool namesContents = false;      // names any folder, file or target of this project
  };
  Target ownPart(const BuildTarget& target, const std::vector<BuildTarget>& targets);
  void addReferenced(const std::string& reference, const std::vector<BuildTarget>& targets,
                     Target& part);
  static bool builds(const Target& target, const std::string& path);
  static bool excludes(const Target& target, const std::string& path);

  std::string projectName;
  std::vector<Target> all;
  bool keepsAll = false;  // some target excludes nothing
  bool hasChosen = false;
  Target chosen;
  std::vector<const BuildTarget*> following;  // the references being followed
  std::vector<std::string> loopsFound;
  std::set<std::set<std::string>> loopMembers;
  std::size_t referencesFollowed = 0;
  static constexpr std::size_t kMaxReferences = 100000;
  static constexpr std::size_t kMaxDepth = 64;
};
