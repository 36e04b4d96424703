#include "driver/conversion_job.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <new>
#include <string_view>
#include <utility>

#include "building/folder_scan.h"
#include "building/group_tree.h"
#include "driver/failure_message.h"
#include "driver/input_file.h"
#include "driver/normalise_path.h"
#include "driver/run_files.h"
#include "model/failure.h"
#include "model/output_lines.h"
#include "platform/platform.h"
#include "reading/linked_resources.h"
#include "reading/markup_reader.h"
#include "reading/project_description.h"
#include "text/path.h"
#include "writing/compilation_database.h"
#include "writing/description.h"
#include "writing/personality_files.h"
#include "writing/project_writer.h"

namespace {

// Windows takes '/' for a separator too, and a path typed with it reaches
// the converter as it was typed.
constexpr std::string_view separators = path::separators();

std::string folderName(const std::string& folder) {
  return folder.substr(folder.find_last_of(separators) + 1);
}

// A .project the workspace search reads for its name is read only this far.
// Real ones are a few kilobytes; the name is their first element.
constexpr std::size_t kProjectNameReadLimit = 1 << 20;

// The name in the .project file at `path`, for finding referenced projects.
// Only a regular file is read (a FIFO would hang the run, a link to
// /dev/zero fill the memory), and only its first megabyte: a longer one
// gives the name its first element holds.
std::optional<std::string> readProjectName(const std::string& path) {
  std::string text;
  if (platform::readRegularFileStart(path, kProjectNameReadLimit + 1, text) !=
      platform::ReadStartResult::Read) {
    return std::nullopt;
  }
  std::string name;
  try {
    if (text.size() <= kProjectNameReadLimit) {
      name = parseProjectDescription(text).name;
    } else {
      text.resize(kProjectNameReadLimit);
      MarkupReader reader(text);
      if (!(reader.expectStartTag("projectDescription") && reader.expectStartTag("name") &&
            reader.readText(name) && reader.expectEndTag("name"))) {
        name.clear();
      }
    }
  } catch (const Failure&) {
    return std::nullopt;
  }
  if (name.empty()) return std::nullopt;
  return name;
}

// Every folder the run makes in the destination: each group's folder and
// its output folder, and the person folder.
std::vector<std::string> outputFolders(const FileGroup& root, const ProjectLayout& layout) {
  constexpr char sep = path::separator();
  std::vector<std::string> folders{layout.personFolder()};
  std::vector<std::string> open;
  walkGroups(
      root,
      [&](const FileGroup& group) {
        std::string folder = open.empty() ? layout.destFolder + sep + layout.projectName
                                          : open.back() + sep + group.name;
        folders.push_back(folder + sep + "output");
        folders.push_back(folder);
        open.push_back(std::move(folder));
      },
      [&](const FileGroup&) { open.pop_back(); });
  return folders;
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
  const char* doing = "reading the project description";
  try {
    readProjectDescription();
    // A build description that cannot be opened ends the run: a conversion
    // without it would be reported as a success it is not.
    doing = "reading the build description";
    readBuildSettings();
    checkWorkspace();
    doing = "writing the analyser project";
    writeAnalyserProject();
    // Warnings come after the progress lines and change nothing of the result.
    doing = "printing the warnings";
    for (const auto& warning : realProjectResult.warnings) printLine(warning);
    for (const auto& warning : personalityWarnings) printLine(warning);
    for (const auto& warning : databaseWarnings) printLine(warning);
    return true;
  } catch (const Failure& failure) {
    printLine(messageFor(failure));
    return false;
  } catch (const std::bad_alloc&) {
    // The tree may be what filled the memory: it goes first, so that the
    // line can be made. Temporary files are gone already, the earlier
    // result untouched.
    rootGroup = FileGroup();
    printLine(messageFor(Failure(FailureKind::OutOfMemory, doing)));
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
  nameFromFile = !description.name.empty();
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
  // A stream turns a failed allocation inside getline into a quiet end of
  // the file; it is to end the run instead.
  in.exceptions(std::ios::badbit);
  FolderScan scan{systemFolderLister(), fileExtensions};
  passOverOutputs(scan.passOver);
  if (!realProject.enabled) {
    std::function<void(std::string_view)> watch;
    WorkbenchFactsReader facts(describedFacts);
    if (describing) {
      // A description names the build specs and targets even without the mode.
      watch = [&](std::string_view line) {
        facts.line(line);
        for (std::size_t key = line.find("BLD::Info|"); key != std::string_view::npos;
             key = line.find("BLD::Info|", key + 1)) {
          const std::string_view rest = line.substr(key + 10);
          const std::string_view spec = specOfKey(rest.substr(0, rest.find('"')));
          if (!spec.empty()) keySpecs.emplace_back(spec);
        }
      };
    }
    defaultFolders = buildGroupTree(in, rootGroup, workspaceDir, referencedProjects, scan, watch);
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
  buildRealProjectTree(in, rootGroup, inputs, realProject, realProjectResult);
}

// A destination inside the project folder (or the workspace folder itself)
// would otherwise bring the last run's project file and person folder in as
// sources.
void ConversionJob::passOverOutputs(PassOver& passOver) const {
  platform::currentDirectory(passOver.base);
  passOver.add(destFolder);
  passOver.add(destFolder + path::separator() + "person");
  passOver.add(destFolder + path::separator() + projectName + ".prj");
  if (!compilationDatabase.empty()) passOver.add(compilationDatabase);
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
  checkOutputs(layout);
  if (compilationDatabase.empty()) {
    personalityWarnings = ::writeAnalyserProject(rootGroup, layout);
    return;
  }
  personalityWarnings = ::writeAnalyserProject(rootGroup, layout, [this](PendingFiles& pending) {
    databaseWarnings = writeCompilationDatabase(rootGroup, databaseLayout(), pending);
  });
}

// No output may replace an input, nor the database another output.
void ConversionJob::checkOutputs(const ProjectLayout& layout) const {
  RunFiles files;
  files.inputs = {sourceProjectPath, buildSettingsPath, analyserPersonality, messagePersonality,
                  compilerPersonality};
  files.outputs.push_back(destFolder + path::separator() + projectName + ".prj");
  if (messagePersonality.empty()) files.outputs.push_back(layout.personality(".p_s"));
  files.outputs.push_back(layout.personality(".p_a"));
  if (compilerPersonality.empty()) files.outputs.push_back(layout.personality(".p_c"));
  files.analyserOutput = layout.personality(".p_a");
  files.analyserInput = analyserPersonality;
  files.database = compilationDatabase;
  if (!compilationDatabase.empty()) files.folders = outputFolders(rootGroup, layout);
  std::string current;
  platform::currentDirectory(current);
  checkRunFiles(files, current);
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

namespace {

const char* sourceName(VariableExpander::Source source) {
  switch (source) {
    case VariableExpander::Source::Given: return "-var";
    case VariableExpander::Source::BuildMacro: return "build macro";
    case VariableExpander::Source::Workbench: return "Workbench";
    case VariableExpander::Source::Environment: return "environment";
    case VariableExpander::Source::None: break;
  }
  return "unresolved";
}

// The file's list of build specs, then those only a key names, each once.
std::vector<std::string> knownOnce(const std::vector<std::string>& listed,
                                   const std::vector<std::string>& named) {
  std::vector<std::string> known;
  for (const auto* names : {&listed, &named}) {
    for (const auto& name : *names) {
      if (std::find(known.begin(), known.end(), name) == known.end()) known.push_back(name);
    }
  }
  return known;
}

}  // namespace

bool ConversionJob::describe(const std::optional<std::string>& optionFailure) {
  describing = true;
  const bool nameGiven = !projectName.empty();
  Description d;
  d.realProject = realProject.enabled;
  d.failure = optionFailure;
  bool treeBuilt = false;
  const char* doing = "reading the project description";
  try {
    if (!d.failure) {
      readProjectDescription();
      doing = "reading the build description";
      readBuildSettings();
      treeBuilt = true;
      checkWorkspace();
      ProjectLayout layout{destFolder, workspaceDir, projectName, messagePersonality,
                           compilerPersonality, nullptr};
      checkProjectNames(rootGroup, projectName);
      checkOutputs(layout);
      personalityWarnings = ::personalityWarnings(rootGroup);
      if (!compilationDatabase.empty()) {
        databaseWarnings = compilationDatabaseWarnings(rootGroup, databaseLayout());
      }
    }
  } catch (const Failure& failure) {
    d.failure = messageFor(failure);
  } catch (const std::bad_alloc&) {
    rootGroup = FileGroup();
    treeBuilt = false;
    d.failure = messageFor(Failure(FailureKind::OutOfMemory, doing));
  }
  d.projectName = projectName;
  d.projectFrom = nameFromFile ? ".project" : nameGiven ? "-pn" : "none";
  if (realProject.enabled) {
    const RealProjectResult& real = realProjectResult;
    d.knownSpecs = real.knownSpecs;
    if (!real.defaultSpec.empty()) d.defaultSpec = real.defaultSpec;
    if (!real.spec.empty()) d.chosenSpec = real.spec;
    d.knownTargets = real.knownTargets;
    if (!realProject.target.empty()) d.chosenTarget = realProject.target;
    d.referencedProjects = real.subprojectFolders;
    for (const auto& variable : real.variables) {
      d.variables.push_back({variable.name, variable.value, sourceName(variable.source)});
    }
  } else {
    d.knownSpecs = knownOnce(describedFacts.specs, keySpecs);
    if (!describedFacts.defaultSpec.empty()) d.defaultSpec = describedFacts.defaultSpec;
    for (const auto& target : describedFacts.targets) d.knownTargets.push_back(target.name);
    d.referencedProjects = defaultFolders;
  }
  if (treeBuilt) d.root = &rootGroup;
  if (!d.failure) {
    d.warnings = realProjectResult.warnings;
    d.warnings.insert(d.warnings.end(), personalityWarnings.begin(), personalityWarnings.end());
    d.warnings.insert(d.warnings.end(), databaseWarnings.begin(), databaseWarnings.end());
  }
  const std::string json = describedJson(d);
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fflush(stdout);
  return !d.failure;
}
