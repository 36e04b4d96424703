#include "driver/conversion_job.h"

#include <utility>

#include "driver/input_file.h"
#include "model/failure.h"
#include "model/output_lines.h"
#include "platform/platform.h"
#include "reading/folder_scan.h"
#include "reading/group_tree.h"
#include "reading/project_description.h"
#include "writing/project_writer.h"

namespace {

std::string messageFor(const Failure& failure) {
  switch (failure.kind) {
    case FailureKind::CannotOpenFile: return "Could not open file: " + failure.subject;
    case FailureKind::UnexpectedEnd: return "WR Project file parsing encountered unexpected EOF";
    case FailureKind::UnexpectedToken:
      return "WR Project file parsing encountered unexpected token: " + failure.subject;
    case FailureKind::CannotOpenFolder: return "Could not open folder: " + failure.subject;
    case FailureKind::InvalidName: return "Invalid project name: " + failure.subject;
    case FailureKind::CannotCreateDirectory: return "Could not create directory: " + failure.subject;
    case FailureKind::CannotWriteFile: return "Could not write file: " + failure.subject;
  }
  return failure.subject;
}

}  // namespace

ConversionJob::ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                             std::string workspaceDir, std::string destFolder)
    : sourceProjectPath(std::move(sourceProjectPath)),
      buildSettingsPath(std::move(buildSettingsPath)),
      workspaceDir(std::move(workspaceDir)),
      destFolder(std::move(destFolder)) {}

void ConversionJob::addFileExtensions(const std::string& value) {
  std::string::size_type start = 0;
  for (auto comma = value.find(',', start); comma != std::string::npos;
       comma = value.find(',', start)) {
    fileExtensions.push_back(value.substr(start, comma - start));
    start = comma + 1;
  }
  fileExtensions.push_back(value.substr(start));
}

bool ConversionJob::run() {
  try {
    readProjectDescription();
    // A build description that cannot be opened ends the run: a conversion
    // without it would be reported as a success it is not.
    readBuildSettings();
    checkWorkspace();
    writeAnalyserProject();
    return true;
  } catch (const Failure& failure) {
    printLine(messageFor(failure));
    return false;
  }
}

void ConversionJob::readProjectDescription() {
  const auto text = readInputFile(sourceProjectPath);
  if (!text) throw Failure(FailureKind::CannotOpenFile, sourceProjectPath);
  ProjectDescription description = parseProjectDescription(*text);
  // An empty name leaves the one given with -pn: a project named "" would
  // spread its folders into the destination itself.
  if (!description.name.empty()) projectName = std::move(description.name);
  referencedProjects = std::move(description.referencedProjects);
}

void ConversionJob::readBuildSettings() {
  // Large reads: a build description can run to a hundred megabytes.
  std::vector<char> buffer(1 << 18);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  if (!openInputFile(in, buildSettingsPath)) {
    throw Failure(FailureKind::CannotOpenFile, buildSettingsPath);
  }
  const FolderScan scan{systemFolderLister(), fileExtensions};
  buildGroupTree(in, rootGroup, workspaceDir, referencedProjects, scan);
}

// Every source path is formed from the workspace folder: without it the
// project would list nothing and still replace an earlier, good one.
void ConversionJob::checkWorkspace() const {
  if (platform::pathKind(workspaceDir) != platform::PathKind::Folder) {
    throw Failure(FailureKind::CannotOpenFolder, workspaceDir);
  }
}

void ConversionJob::writeAnalyserProject() const {
  ProjectLayout layout{destFolder, workspaceDir, projectName, messagePersonality,
                       compilerPersonality, nullptr};
  if (!analyserPersonality.empty()) {
    // Read when the writer comes to it: it may be the very file this
    // conversion replaces, or a pipe that some other program fills.
    layout.readGivenAnalyserPersonality = [this](std::string& content) {
      const auto given = readInputFile(analyserPersonality);
      if (given) content = *given;
      return given.has_value();
    };
  }
  ::writeAnalyserProject(rootGroup, layout);
}

void ConversionJob::scanFolder(const std::string& folder, FileGroup& group, bool descend) const {
  FolderScan{systemFolderLister(), fileExtensions}.scan(folder, group, descend);
}

bool ConversionJob::acceptsFile(const std::string& path) const {
  return ::acceptsFile(fileExtensions, path);
}
