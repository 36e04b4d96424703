// The personality files a conversion makes: the empty message and compiler
// personalities, and the analyser personality generated from a group's
// include paths and macros followed by the -ap file's content.
#pragma once

#include <string>
#include <vector>

#include "model/file_group.h"
#include "model/note.h"
#include "writing/pending_files.h"
#include "writing/project_layout.h"

// Which files the blocks of the project file name as made by this run.
struct PersonalityFiles {
  bool emptyMessage = false;
  bool emptyCompiler = false;
  // The group whose include paths and macros the analyser personality
  // holds: the last one that has any, else the root (none at all).
  const FileGroup* analyserSource = nullptr;
  // The -ap file's content, line ends made CR LF: read by the first block
  // that takes it, then the same for every block.
  bool givenRead = false;
  bool givenReadable = false;
  std::string givenContent;
};

// Takes the -ap file's content (if one was given) into `files`, reading it
// the first time only; notes, each time, when it could not be read, and the
// run goes on without its content.
void readGivenAnalyserPersonality(const ProjectLayout& layout, PersonalityFiles& files,
                                  const NoteSink& notes);

// Writes the files through `pending`. An include path or macro holding a
// line break is left out of the analyser personality, with a note naming
// it. Throws IOERROR (CannotWriteFile).
void writePersonalityFiles(const PersonalityFiles& files, const ProjectLayout& layout,
                           PendingFiles& pending, const NoteSink& notes);

// The notes writing the analyser personality of the tree below `root`
// would give, without writing it.
void notePersonalityLeftOuts(const FileGroup& root, const NoteSink& notes);
