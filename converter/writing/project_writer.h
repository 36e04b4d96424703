// The analyser project as a whole: the .prj file in the destination folder,
// the groups' folders and the personality files.
#pragma once

#include "model/file_group.h"
#include "writing/project_layout.h"

// Writes the project of the tree below `root`: folders first, then the
// project file's text, then the personality files, each file under a
// temporary name that is put in place only when all of them are written.
// Prints the progress lines. Throws Failure: InvalidName (before anything
// is made), CannotCreateDirectory or CannotWriteFile.
void writeAnalyserProject(const FileGroup& root, const ProjectLayout& layout);
