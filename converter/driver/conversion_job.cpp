#include "driver/conversion_job.h"

#include <string_view>
#include <utility>

#include "driver/failure_message.h"
#include "driver/input_file.h"
#include "driver/normalise_path.h"
#include "model/failure.h"
#include "model/output_lines.h"
#include "platform/platform.h"
#include "reading/linked_resources.h"
#include "reading/folder_scan.h"
#include "reading/group_tree.h"
#include "reading/project_description.h"
#include "writing/compilation_database.h"
#include "writing/project_writer.h"

namespace {

// Windows takes '/' for a separator too, and a path typed with it reaches
// the converter as it was typed.
constexpr std::string_view separators = platform::separator == '/' ? "/" : "\\/";

std::string folderName(const std::string& folder) {
  return folder.substr(folder.find_last_of(separators) + 1);
}

// The name in the .project file at `path`, for finding referenced projects.
std::optional<std::string> readProjectName(const std::string& path) {
  const auto text = readInputFile(path);
  if (!text) return std::nullopt;
  try {
    std::string name = parseProjectDescription(*text).name;
    if (!name.empty()) return name;
  } catch (const Failure&) {
  }
  return std::nullopt;
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
    // Warnings come after the progress lines and change nothing of the result.
    for (const auto& warning : realProjectResult.warnings) printLine(warning);
    for (const auto& warning : databaseWarnings) printLine(warning);
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
  if (realProject.enabled) projectLinks = parseLinkedResources(*text);
  ownName = description.name.empty() ? folderName(projectFolder()) : description.name;
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
  if (!realProject.enabled) {
    buildGroupTree(in, rootGroup, workspaceDir, referencedProjects, scan);
    return;
  }
  std::string current;
  platform::currentDirectory(current);
  const RealProjectInputs inputs{workspaceDir, projectFolder(), ownName, referencedProjects,
                                 current,      scan,           readProjectName,
                                 [](const std::string& name) -> std::optional<std::string> {
                                   std::string value;
                                   if (!platform::environmentVariable(name, value)) return {};
                                   return value;
                                 },
                                 std::move(projectLinks)};
  realProjectResult = buildRealProjectTree(in, rootGroup, inputs, realProject);
}

// The folder that holds the project description.
std::string ConversionJob::projectFolder() const {
  const std::size_t cut = sourceProjectPath.find_last_of(separators);
  return cut == std::string::npos ? std::string(".") : sourceProjectPath.substr(0, cut);
}

// Every source path is formed from the workspace folder: without it the
// project would list nothing and still replace an earlier, good one.
void ConversionJob::checkWorkspace() const {
  if (platform::pathKind(workspaceDir) != platform::PathKind::Folder) {
    throw Failure(FailureKind::CannotOpenFolder, workspaceDir);
  }
}

void ConversionJob::writeAnalyserProject() {
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
  if (compilationDatabase.empty()) {
    ::writeAnalyserProject(rootGroup, layout);
    return;
  }
  ::writeAnalyserProject(rootGroup, layout, [this](PendingFiles& pending) {
    databaseWarnings = writeCompilationDatabase(rootGroup, databaseLayout(), pending);
  });
}

// The compilers are the chosen build spec's when its commands name them.
CompilationDatabaseLayout ConversionJob::databaseLayout() const {
  const std::string& cCompiler = realProjectResult.cProgram;
  const std::string& cxxCompiler = realProjectResult.cxxProgram;
  std::string current;
  platform::currentDirectory(current);  // read once, for every file
  CompilationDatabaseLayout layout{
      compilationDatabase, normalisePath(workspaceDir, current),
      cCompiler.empty() ? "cc" : cCompiler, cxxCompiler.empty() ? "c++" : cxxCompiler,
      [current](const std::string& path) { return normalisePath(path, current); }};
  if (realProject.enabled) {
    layout.cMacros = &realProjectResult.cMacros;
    layout.cxxMacros = &realProjectResult.cxxMacros;
  }
  return layout;
}

void ConversionJob::scanFolder(const std::string& folder, FileGroup& group, bool descend) const {
  FolderScan{systemFolderLister(), fileExtensions}.scan(folder, group, descend);
}

bool ConversionJob::acceptsFile(const std::string& path) const {
  return ::acceptsFile(fileExtensions, path);
}
