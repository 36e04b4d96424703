// What a file is compiled with where its build target, a folder of the
// target's contents or its own entry sets entries for itself. The Makefile
// Workbench generates gives a target's objects the build spec's variables
// again as variables of their own (IDE_INCLUDES, IDE_DEFINES, the build
// macros, DEBUGFLAGS_...) and writes their recipes from the target's tools:
// what the target sets stands in place of the build spec's, a list as a whole.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "building/build_targets.h"
#include "reading/workbench_facts.h"

struct TargetEntries {
  std::string target;  // the build target whose contents build the files
  // The levels that set an entry of the build spec, outermost first:
  // "target", "folder", "file". Empty: the file takes the project's settings.
  std::vector<std::string> levels;
  std::optional<std::vector<std::string>> includes;  // in place of the include entries
  std::optional<std::vector<SpecValue>> defines;     // in place of the defines lists
  std::optional<std::string> cCommand;               // in place of the compilers' commands
  std::optional<std::string> cxxCommand;
  std::vector<ToolValue> toolFlags;                        // over the build spec's, in order
  std::vector<std::pair<std::string, std::string>> macros;  // build macros over the build spec's
};

// The entries of the levels of `attributes` that belong to build spec
// `spec` (empty: every one does), an inner level's over an outer one's.
TargetEntries targetEntriesOf(const FileAttributes& attributes, const std::string& spec);

// The files that set entries of `spec` of their own, each set of entries
// once: files that set the same share it. Past `maxSets` sets (a hostile
// file could give each of a hundred thousand files flags of its own, each
// set a composition of the whole build spec) the files are only counted.
struct TargetSettingsPlan {
  std::vector<TargetEntries> sets;
  std::vector<std::pair<std::string, std::size_t>> files;  // a file's path, its set
  std::size_t leftOver = 0;  // files past the bound
};
TargetSettingsPlan planTargetSettings(
    const std::vector<std::pair<std::string, FileAttributes>>& attributed, const std::string& spec,
    std::size_t maxSets);
