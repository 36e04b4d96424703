// The group blocks of the project file and the folders they name. A group's
// path is the project name for the root and its parent's path followed by
// its own name for every other group; its folder and its source folder are
// that path below the destination and below the workspace.
#pragma once

#include <ostream>

#include "model/file_group.h"
#include "model/note.h"
#include "writing/personality_files.h"
#include "writing/project_layout.h"

// Makes every group's folder and output folder, in the order of the blocks,
// and the person folder. Throws IOERROR (CannotCreateDirectory).
void makeGroupFolders(const FileGroup& root, const ProjectLayout& layout);

// Writes the block of `root` and, nested, those of its sub-groups, with a
// progress note for each, and notes in `files` which personality files the
// blocks name as made by this run.
void writeGroup(std::ostream& out, const FileGroup& root, const ProjectLayout& layout,
                PersonalityFiles& files, const NoteSink& notes);
