// The one object of a converter run: what the command line asked for, and
// what each step of the conversion found, handed on from step to step. Its
// run puts the steps in order and shows their notes and failures.
#pragma once

#include <optional>
#include <string>

#include "driver/options.h"
#include "driver/project_reading.h"
#include "model/failure.h"
#include "model/note.h"
#include "writing/compilation_database.h"
#include "writing/project_layout.h"

class ConversionJob {
 public:
  // The four positional paths, in command-line order, the options empty.
  ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                std::string workspaceDir, std::string destFolder);
  explicit ConversionJob(ConversionOptions options);  // a workspace run's project
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // Performs the whole conversion, showing its progress, warnings and
  // failure on standard output; false for failure.
  bool run();

  // Reads what the conversion would read and prints what it would do as
  // one JSON document (Plovik -describe), writing nothing. False where the
  // conversion would fail; `optionFailure` is one the options met already.
  bool describe(const std::optional<Failure>& optionFailure = std::nullopt);

  // The steps of the run, in order. Each throws a Failure.
  // The project's name (unless the file names none) and referenced projects.
  void readProjectDescription();
  // The group tree; warnings go to `notes`.
  void readBuildSettings(const NoteSink& notes);
  // The workspace folder must exist before anything is written.
  void checkWorkspace() const;
  // The analyser project, with the compilation database in the same commit
  // when -cdb names one; progress and warnings go to `notes`.
  void writeAnalyserProject(const NoteSink& notes);

  ConversionOptions options;
  ReadProject project;  // after readProjectDescription
  BuiltTree tree;       // after readBuildSettings

 private:
  ProjectLayout layout() const;
  // Every check that can be made before anything is written, in the order
  // the run meets them, so that -describe fails where the run would.
  void checkBeforeWriting(const ProjectLayout& layout) const;
  CompilationDatabaseLayout databaseLayout() const;
  // Where a run that failed to allocate was: its message names it.
  const char* doing = "reading the project description";
};
