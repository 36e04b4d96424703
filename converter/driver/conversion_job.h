// The one object of a converter run: the command-line inputs, what the readers
// collect from the Workbench project and the group tree the writers turn into
// the analyser project. Readers fill it, writers read it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "driver/file_group.h"
#include "reading/markup_reader.h"
#include "writing/pending_files.h"

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

  // Project description (converter/reading/project_description_reader.cpp).
  bool readProjectDescription();
  bool readComment();
  bool readProjects();
  bool readBuildSpec();
  bool readBuildCommand();
  bool readArguments();
  bool readNatures();
  bool readNature();

  // Build settings (converter/reading/build_settings_reader.cpp).
  bool readBuildSettings();

  // Source tree scan (converter/reading/folder_scan.cpp).
  void scanFolder(const std::string& folder, FileGroup& group, bool descend);
  bool acceptsFile(const std::string& path) const;

  // Analyser project (converter/writing/project_writer.cpp).
  bool writeAnalyserProject();

  std::string getWorkspaceDir() const { return workspaceDir; }
  std::string getDestFolder() const { return destFolder; }
  std::string getProjectName() const { return projectName; }
  std::string getMessagePersonality() const { return messagePersonality; }
  std::string getAnalyserPersonality() const { return analyserPersonality; }
  std::string getCompilerPersonality() const { return compilerPersonality; }

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
  std::unique_ptr<FileGroup> rootGroup;
  MarkupReader reader;
  // Files written by the current writeAnalyserProject, not yet in place.
  PendingFiles pendingOutputs;
};
