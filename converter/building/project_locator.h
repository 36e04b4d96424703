// Finds the folder of a referenced project the way Workbench does: by the
// name in its .project file, not by where the build description says it
// lies. Real workspaces keep a project Web in Web/trunk/src, say.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "building/folder_scan.h"

// The <name> of the .project file at `path`; nothing when it cannot be read.
using ProjectNameReader = std::function<std::optional<std::string>(const std::string& path)>;

// Whether the sub-folder `name` of `folder` is left out of a search.
using FolderPassedOver = std::function<bool(const std::string& folder, const std::string& name)>;
// Takes one folder a search listed, with its listing.
using ListedFolder = std::function<void(std::string&& folder, std::vector<ListedEntry>&& entries)>;

// The search of a workspace for projects, for the referenced projects and
// for a run over all of them: `top` and the folders below it, breadth first
// so that nearer folders come first, bounded in depth (ProjectLocator::
// kMaxDepth levels below `top`) and in folders listed (kMaxFolders), since a
// workspace may hold far more than projects. Folders whose names begin with
// a dot (.metadata, .settings) and those `passedOver` names are not entered.
// Each folder that could be listed goes to `listed`, its entries in listing
// order, or with `byteOrder` sorted by name, so that the order is the same
// on every system. False when the search stopped at its bound.
bool searchForProjects(const std::string& top, const FolderLister& lister, bool byteOrder,
                       const FolderPassedOver& passedOver, const ListedFolder& listed);

class ProjectLocator {
 public:
  // Folders named in `passOver` (and those whose names begin with a dot)
  // are not searched.
  ProjectLocator(std::string workspaceDir, FolderLister lister, ProjectNameReader readName,
                 std::set<std::string> passOver);

  // The candidate, the workspace folder joined with `entry` (a path below
  // it), when its .project names `name`; else the folder in the workspace
  // whose .project does (the one nearest the workspace folder); else the
  // candidate when it exists and holds no .project at all; else nothing. An
  // entry that climbs out of the workspace ("/../x", "\\..\\x") gives no
  // candidate: nothing outside is listed or read.
  std::optional<std::string> find(const std::string& name, const std::string& entry);

  // Whether the search of the workspace stopped at its bound.
  bool searchCutShort() const { return cutShort; }

  // The lister, handing out each listing the search made once, to whoever
  // lists that folder next (the scans of the projects it found), so that a
  // workspace searched is not listed twice. Valid while the locator lives.
  FolderLister sharedLister();

  static constexpr std::size_t kMaxDepth = 8;
  static constexpr std::size_t kMaxFolders = 20000;

 private:
  // The name of the project in `folder`, from the listing `entries`.
  std::optional<std::string> projectIn(const std::string& folder,
                                       const std::vector<ListedEntry>& entries);
  void search();

  std::string workspaceDir;
  FolderLister lister;
  ProjectNameReader readName;
  std::set<std::string> passOver;
  std::map<std::string, std::string> folders;  // project name to folder, once searched
  std::unordered_map<std::string, std::vector<ListedEntry>> listings;  // not yet handed out
  bool searched = false;
  bool cutShort = false;
};
