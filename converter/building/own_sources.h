// The real-project mode's own sources: the files of the project's own
// folder and of its linked resources, chosen by the build targets and -ext,
// as the root group's files and sub-groups.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "building/build_targets.h"
#include "building/folder_scan.h"
#include "building/link_locations.h"
#include "building/real_project_context.h"
#include "model/file_group.h"
#include "reading/workbench_facts.h"

// What the steps before hand to this one.
struct OwnSources {
  const WorkbenchFacts& facts;                  // the build targets, the output folders
  const BuildTarget* target;                    // -target's; null: none
  const std::vector<std::string>& specNames;    // folders named so are build output
  const std::set<std::string>& excludedFolders;  // comparable paths: sub-projects and outputs
  LinkResolver& links;                           // where the project's links lie
};

// What the own sources were: the links left out, and the own files of each
// language (by SourceLanguage).
struct OwnSourcesFound {
  std::vector<std::string> missingLinks;
  std::vector<std::string> targetLoops;  // "T -> U -> T", each loop once, the first few
  std::size_t moreTargetLoops = 0;        // those not shown
  std::size_t languages[3] = {0, 0, 0};
  // The files kept whose build target, folder or own entry gives attributes,
  // by the path the tree lists them under, with those attributes.
  std::vector<std::pair<std::string, FileAttributes>> attributed;
  std::string emptyTarget;  // the chosen target, when it names no contents
};

// Adds the own sources, found through `scan` (the real-project mode's), to `root`: its
// files after those it has, its sub-groups before those it has. The root
// then names the project folder.
OwnSourcesFound addOwnSources(const RealProjectContext& context, const FolderScan& scan,
                              const OwnSources& own, FileGroup& root);
