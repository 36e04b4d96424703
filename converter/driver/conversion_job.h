// The one object of a converter run: what the command line asked for, and
// what each step of the conversion found, handed on from step to step. Its
// run puts the steps in order and shows their notes and failures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "driver/options.h"
#include "driver/project_reading.h"
#include "model/failure.h"
#include "model/note.h"
#include "writing/compilation_database.h"
#include "writing/description.h"
#include "writing/project_layout.h"

// What a conversion made, as values: a workspace run adds these up.
struct ConversionOutcome {
  // Its warnings in the order they came; a run that failed has none.
  std::vector<Note> warnings;
  std::optional<Failure> failure;  // none: converted (or described without a fault)
  std::optional<Description> description;  // -describe's
  // The entries of its compilation database, when the job keeps them.
  std::vector<DatabaseEntry> databaseEntries;
};

class ConversionJob {
 public:
  // The four positional paths, in command-line order, the options empty.
  ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                std::string workspaceDir, std::string destFolder);
  explicit ConversionJob(ConversionOptions options);  // a workspace run's project
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // Performs the whole conversion, showing its progress on standard output
  // as it goes, then its warnings or its failure.
  ConversionOutcome run();

  // Reads what the conversion would read and describes what it would do
  // (Plovik -describe), writing nothing; the failure is where the
  // conversion would fail. `optionFailure` is one the options met already.
  ConversionOutcome describe(const std::optional<Failure>& optionFailure = std::nullopt);

  // Whether the outcome holds the compilation database's entries.
  bool keepDatabaseEntries = false;

  // The steps of the run, in order. Each throws a Failure.
  // The project's name (unless the file names none) and referenced projects.
  void readProjectDescription();
  // The group tree; warnings go to `notes`.
  void readBuildSettings(const NoteSink& notes);
  // The workspace folder must exist before anything is written.
  void checkWorkspace() const;
  // The analyser project, with the compilation database in the same commit
  // when -cdb names one (its entries kept in `entries` when asked);
  // progress and warnings go to `notes`.
  void writeAnalyserProject(const NoteSink& notes, std::vector<DatabaseEntry>* entries = nullptr);

  ConversionOptions options;
  ReadProject project;  // after readProjectDescription
  BuiltTree tree;       // after readBuildSettings

 private:
  // The -ap file's content is read into it (before anything is written).
  ProjectLayout layout() const;
  // Every check that can be made before anything is written, in the order
  // the run meets them, so that -describe fails where the run would.
  void checkBeforeWriting(const ProjectLayout& layout) const;
  CompilationDatabaseLayout databaseLayout() const;
  // Where a run that failed to allocate was: its message names it.
  const char* doing = "reading the project description";
};
