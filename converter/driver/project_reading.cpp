#include "driver/project_reading.h"

#include <fstream>
#include <functional>
#include <memory>
#include <optional>

#include "driver/input_file.h"
#include "model/failure.h"
#include "platform/platform.h"
#include "reading/markup_reader.h"
#include "reading/project_description.h"
#include "text/path.h"
#include "writing/run_outputs.h"

namespace {

// A .project the workspace search reads for its name is read only this far.
// Real ones are a few kilobytes; the name is their first element.
constexpr std::size_t kProjectNameReadLimit = 1 << 20;

}  // namespace

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

namespace {

std::optional<std::string> environmentValue(const std::string& name) {
  std::string value;
  if (!platform::environmentVariable(name, value)) return std::nullopt;
  return value;
}

// A sub-project's .wrproject, opened only where the name is a regular file
// (a FIFO would hang the run, a link to /dev/zero fill the memory) and read
// as the project's own is, line by line.
std::unique_ptr<std::istream> openBuildDescription(const std::string& path) {
  if (platform::nodeKind(path, false) != platform::NodeKind::Regular) return nullptr;
  auto in = std::make_unique<std::ifstream>();
  if (!openInputFile(*in, path)) return nullptr;
  in->exceptions(std::ios::badbit);
  return in;
}

// A destination inside the project folder (or the workspace folder itself)
// would otherwise bring the last run's project file and person folder in as
// sources.
void passOverOutputs(const ConversionOptions& options, const std::string& projectName,
                     PassOver& passOver) {
  passOver.base = options.currentDirectory;
  ProjectLayout layout{options.destFolder, options.workspaceDir, projectName,
                       options.messagePersonality, options.compilerPersonality, nullptr};
  for (const auto& output : runOutputs(layout, options.compilationDatabase)) {
    if (scansPassOver(output.kind)) passOver.add(output.path);
  }
  for (const auto& path : options.passOver) passOver.add(path);
}

}  // namespace

std::string projectFolderOf(const std::string& sourceProjectPath) {
  const std::size_t name = path::fileNameStart(sourceProjectPath, path::native);
  return name == 0 ? std::string(".") : sourceProjectPath.substr(0, name - 1);
}

ReadProject readProject(const ConversionOptions& options) {
  const auto text = readInputFile(options.sourceProjectPath);
  if (!text) throw Failure(FailureKind::CannotOpenFile, options.sourceProjectPath);
  ReadProject project;
  // The real-project mode takes the links from the same reading.
  ProjectDescription description = options.realProject.enabled
                                       ? parseProjectDescription(*text, project.links)
                                       : parseProjectDescription(*text);
  const std::string folder = projectFolderOf(options.sourceProjectPath);
  project.ownName = description.name.empty()
                        ? std::string(path::fileName(folder, path::native))
                        : description.name;
  // An empty name leaves the one given with -pn: a project named "" would
  // spread its folders into the destination itself.
  project.nameFromFile = !description.name.empty();
  project.name = project.nameFromFile ? std::move(description.name) : options.projectName;
  project.referencedProjects = std::move(description.referencedProjects);
  return project;
}

void buildTree(const ConversionOptions& options, const ReadProject& project,
               const NoteSink& notes, BuiltTree& tree) {
  // Large reads: a build description can run to a hundred megabytes.
  std::vector<char> buffer(1 << 18);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  if (!openInputFile(in, options.buildSettingsPath)) {
    throw Failure(FailureKind::CannotOpenFile, options.buildSettingsPath);
  }
  // A stream turns a failed allocation inside getline into a quiet end of
  // the file; it is to end the run instead.
  in.exceptions(std::ios::badbit);
  FolderScan scan{systemFolderLister(), options.fileExtensions};
  passOverOutputs(options, project.name, scan.passOver);
  if (!options.realProject.enabled) {
    WorkbenchFactsReader facts(tree.facts);
    tree.defaultFolders =
        buildGroupTree(in, tree.root, options.workspaceDir, project.referencedProjects, scan,
                       options.describe ? [&facts](std::string_view line) { facts.line(line); }
                                        : std::function<void(std::string_view)>());
    return;
  }
  const RealProjectContext context{.projectName = project.ownName,
                                   .referencedProjects = project.referencedProjects,
                                   .links = project.links,
                                   .workspaceDir = options.workspaceDir,
                                   .projectFolder = projectFolderOf(options.sourceProjectPath),
                                   .currentDirectory = options.currentDirectory,
                                   .options = options.realProject,
                                   .databaseWanted = !options.compilationDatabase.empty(),
                                   .scan = scan,
                                   .readProjectName = readProjectName,
                                   .openBuildDescription = openBuildDescription,
                                   .environment = environmentValue,
                                   .notes = notes};
  tree.real = buildRealProjectTree(in, tree.root, context, tree.real);
}
