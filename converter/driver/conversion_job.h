// The one object of a converter run: the command-line inputs, what the readers
// collect from the Workbench project and the group tree the writers turn into
// the analyser project. Its run puts the steps in order and is the one place
// that turns a failure into its message.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "building/real_project.h"
#include "building/group_tree.h"
#include "model/file_group.h"
#include "reading/workbench_facts.h"
#include "writing/compilation_database.h"
#include "writing/project_layout.h"

class ConversionJob {
 public:
  ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                std::string workspaceDir, std::string destFolder);
  ConversionJob(const ConversionJob&) = delete;
  ConversionJob& operator=(const ConversionJob&) = delete;

  // Appends the comma-separated parts of `value` to fileExtensions.
  void addFileExtensions(const std::string& value);

  // Performs the whole conversion; false for failure, after its line is printed.
  bool run();

  // Reads what the conversion would read and prints what it would do as
  // one JSON document (Plovik -describe), writing nothing. False where the
  // conversion would fail; `optionFailure` is one the options met already.
  bool describe(const std::optional<std::string>& optionFailure = std::nullopt);

  // The steps of the run, in order. Each throws a Failure.
  // The project's name (unless the file names none) and referenced projects.
  void readProjectDescription();
  // The group tree below rootGroup.
  void readBuildSettings();
  // The workspace folder must exist before anything is written.
  void checkWorkspace() const;
  // With the compilation database in the same commit when -cdb names one.
  void writeAnalyserProject();
  void checkOutputs(const ProjectLayout& layout) const;
  // The run's own outputs, which no scan takes as sources.
  void passOverOutputs(PassOver& passOver) const;
  CompilationDatabaseLayout databaseLayout() const;

  // The folder scan with this job's file extensions.
  void scanFolder(const std::string& folder, FileGroup& group, bool descend) const;
  bool acceptsFile(const std::string& path) const;
  // The folder that holds the project description.
  std::string projectFolder() const;

  std::string sourceProjectPath;
  std::string buildSettingsPath;
  std::string workspaceDir;
  std::string destFolder;
  std::string projectName;
  std::string messagePersonality;
  std::string analyserPersonality;
  std::string compilerPersonality;
  std::vector<std::string> fileExtensions;
  std::vector<std::string> referencedProjects;
  RealProjectOptions realProject;  // -wb and the options that refine it
  std::string compilationDatabase;  // -cdb FILE, absolute; empty: none is written
  FileGroup rootGroup;

  // Filled by the reading steps.
  std::string ownName;  // the project's own name: the .project's, else its folder's
  ProjectLinks projectLinks;  // its linked resources, in the real-project mode
  RealProjectResult realProjectResult;  // warnings, the build spec read, its compilers
  std::vector<std::string> personalityWarnings;  // what the analyser personality left out
  std::vector<std::string> databaseWarnings;  // what the compilation database left out

  // Read only for a description.
  bool describing = false;
  bool nameFromFile = false;  // the .project named the project
  WorkbenchFacts describedFacts;  // without the mode: the build specs and targets
  std::vector<std::string> keySpecs;  // the build specs keys name, without the mode
  ProjectFolders defaultFolders;  // without the mode: where the sub-projects were looked for
};
