// Each file of a group tree once: a linked file, a project inside another
// or the project folder as the workspace folder reach one file more than
// once.
#pragma once

#include <set>
#include <string>

#include "model/file_group.h"

// Keeps each file where the tree first lists it (in the project file's
// order), files compared by their comparable paths (relative ones against
// `currentDirectory`). A group left empty by this goes too, but for those
// in `keptGroups`.
void dropRepeatedFiles(FileGroup& root, const std::string& currentDirectory,
                       const std::set<const FileGroup*>& keptGroups);
