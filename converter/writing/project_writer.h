// The analyser project as a whole: the .prj file in the destination folder,
// the groups' folders and the personality files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/file_group.h"
#include "model/note.h"
#include "writing/pending_files.h"
#include "writing/project_layout.h"

// Writes the project of the tree below `root`: folders first, then the
// project file's text, then the personality files, each file under a
// temporary name that is put in place only when all of them are written.
// The progress and what the personality files left out go to `notes`.
// Throws Failure: InvalidName (before anything is made),
// CannotCreateDirectory or CannotWriteFile. `alongside`, when given, writes
// further files into the same commit before anything of the project is made
// or noted, so that its failure leaves no trace either.
void writeAnalyserProject(const FileGroup& root, const ProjectLayout& layout,
                          const NoteSink& notes,
                          const std::function<void(PendingFiles&)>& alongside = {});

// Throws Failure InvalidName for a project name or group name that cannot
// name a file or folder below the destination, or a line of the project file.
void checkProjectNames(const FileGroup& root, const std::string& projectName);
