// Places a project's linked resources in the tree of its own sources, where
// the project shows them: a linked file in the group of the folder its link
// name names, a linked folder scanned as a group of its own under its link
// name, a virtual folder as a group holding its linked children.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "building/folder_scan.h"
#include "building/link_locations.h"
#include "building/real_project_context.h"
#include "model/file_group.h"

// Whether a file is taken, judged by its path as the project shows it
// ("src/main.cpp", "ext/sub/a.c"), "/"-separated; `listedPath` is where it
// lies, as the tree lists it.
using LinkedFileFilter =
    std::function<bool(std::string_view shownPath, const std::string& listedPath)>;

// Adds the project's links to `own`, the group of the project folder (its
// sourceFolder set), found by `resolver`, through `scan`, skipping below linked folders what
// `skipFolder` names. Returns the names of the links left out because their
// location is unknown or holds no file or folder of the link's type.
std::vector<std::string> addLinkedSources(
    FileGroup& own, const RealProjectContext& context, LinkResolver& resolver,
    const FolderScan& scan, const std::function<bool(const std::string& folder)>& skipFolder,
    const LinkedFileFilter& keeps);
