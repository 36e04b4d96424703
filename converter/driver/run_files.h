// The files a run reads and the files and folders it writes, checked against
// each other before anything is written: an output that replaces an input
// loses it for good (a .project overwritten with JSON), and two outputs
// under one name lose one of them.
#pragma once

#include "driver/options.h"
#include "model/file_group.h"
#include "writing/project_layout.h"

#include <string>
#include <vector>

struct RunFiles {
  std::vector<std::string> inputs;   // .project, .wrproject, -ap, -mp, -cp
  std::vector<std::string> outputs;  // the files the commit replaces, the database aside
  std::string database;              // -cdb FILE; empty: none
  std::vector<std::string> folders;  // the folders the run makes
  // The generated analyser personality and the -ap file may be one file:
  // the -ap file is read before anything is written.
  std::string analyserOutput;
  std::string analyserInput;
};

// Throws Failure OutputIsInput with the output that is also an input, or
// OutputTwice with the database when it is another output or a folder of the
// run. Two names are the same file when both exist and lead to one file,
// and otherwise when they are the same path once made absolute against
// `currentDirectory` and freed of "." and ".." parts.
void checkRunFiles(const RunFiles& files, const std::string& currentDirectory);

// Throws what opening or replacing an output would throw (NotRegularFile,
// CannotWriteFile for a folder or a file that cannot be written,
// NoTemporaryName), told without writing: the database first, then the
// other outputs, in the order the run opens them.
void checkOutputs(const RunFiles& files);

// The files a run with `options` reads and writes into `layout`, the folders
// of the tree below `root` among them where a database is written.
RunFiles runFilesOf(const ConversionOptions& options, const ProjectLayout& layout,
                    const FileGroup& root);

// Every source path is formed from the workspace folder: without it the
// project would list nothing and still replace an earlier, good one. Throws
// Failure CannotOpenFolder.
void checkWorkspace(const std::string& workspaceDir);
