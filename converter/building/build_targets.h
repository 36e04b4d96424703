// Which of the project's own files its build targets build, and with whose
// attributes. A target names folders ("/Proj/src", recursive or not) and
// files they exclude, files, and targets whose contents it builds too; with
// a chosen target, only what it builds is kept, and without one a file is
// left out only when every target with contents excludes it. An exclude
// belongs to its folder, or to the target's own contents as a whole: a
// target that refers to another does not lose what the other excludes.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "reading/workbench_facts.h"

// Whose attributes a file is compiled with, outermost first: the target
// that builds it (its own contents; for a file it builds through a
// reference, the referred target), the innermost folder of those contents
// that holds it, and its own entry. Null where there is none.
struct FileAttributes {
  const BuildTarget* target = nullptr;
  const BuildTarget::Folder* folder = nullptr;
  const BuildTarget::FileAttributes* file = nullptr;
  bool operator==(const FileAttributes&) const = default;
};

class TargetFilter {
 public:
  // `chosen` is one of `targets`, or null for none. `projectName` is the
  // first part of the workspace-relative folder names that mean this project.
  TargetFilter(const std::vector<BuildTarget>& targets, const BuildTarget* chosen,
               std::string projectName);

  // Whether the file at `path` (relative to the project folder, with "/" or
  // "\") is kept.
  bool keeps(std::string_view path) const;

  // The attributes a kept file is compiled with: through the chosen
  // target's contents, else those of the first target (in file order) whose
  // own contents build it. Without a chosen target, none where no target
  // gives any attributes.
  FileAttributes attributesOf(std::string_view path) const;

  // The targets whose references lead back to themselves, each loop once,
  // as "T -> U -> T": such a reference is not followed. The first
  // kShownLoops of them; moreLoops() counts the others.
  const std::vector<std::string>& loops() const { return loopsFound; }
  std::size_t moreLoops() const { return loopsNotShown; }
  static constexpr std::size_t kShownLoops = 10;

  // Whether the chosen target is built from contents (it has a build tool)
  // but names none: it builds nothing of its own.
  bool chosenNamesNothing() const { return hasChosen && chosen.scope == Scope::Nothing; }

 private:
  struct Folder {
    std::string path;  // relative to the project folder, "/"-separated; "" for the folder itself
    bool recursive;
    std::vector<std::string> excludes;  // relative to the project folder
    const BuildTarget::Folder* source;
  };
  // One target's own contents, the part of this project.
  struct Part {
    const BuildTarget* owner = nullptr;
    std::vector<Folder> folders;
    std::vector<std::string> files;  // relative to the project folder, "/"-separated
    std::vector<std::string> excludes;  // of the contents as a whole
    std::vector<std::pair<std::string, const BuildTarget::FileAttributes*>> fileAttributes;
  };
  // Listed: what its parts build. Everything: it names contents, none of
  // this project's, or it is a goal of a Makefile of the project's own (it
  // has no build tool and names nothing). Nothing: it has a build tool and
  // names no contents.
  enum class Scope { Listed, Everything, Nothing };
  struct Target {
    std::vector<Part> parts;  // its own first, then those of the targets it refers to
    Scope scope = Scope::Listed;
  };
  static bool namesContents(const BuildTarget& target);
  Target targetOf(const BuildTarget& target);
  void addParts(const BuildTarget& target, Target& whole);
  void addReferenced(const std::string& reference, Target& whole);
  void noteLoop(std::size_t from, const BuildTarget& back);
  static bool partBuilds(const Part& part, const std::string& path,
                         const Folder** innermost = nullptr);
  static bool builds(const Target& target, const std::string& path);
  static bool excludes(const Target& target, const std::string& path);
  static FileAttributes attributesIn(const Part& part, const std::string& path);

  std::string projectName;
  std::vector<Target> all;  // those with contents, for the files every one excludes
  bool keepsAll = false;    // some target with contents excludes nothing
  bool hasChosen = false;
  Target chosen;
  // Without a chosen target, each target's own part, when any target gives attributes.
  std::vector<Part> ownParts;
  // The targets by name, the first of a name; a file may hold tens of
  // thousands of them.
  std::unordered_map<std::string_view, const BuildTarget*> byName;
  // While one target's whole is made: the references being followed, and
  // every target whose parts it holds already (each is added once).
  std::vector<const BuildTarget*> following;
  std::unordered_set<const BuildTarget*> added;
  std::vector<std::string> loopsFound;
  std::unordered_set<std::string> loopMembers;  // each loop's targets, sorted
  std::size_t loopsNotShown = 0;
  static constexpr std::size_t kMaxDepth = 64;
};
