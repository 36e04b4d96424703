#include "driver/conversion_job.h"

#include <new>
#include <utility>

#include "driver/console.h"
#include "driver/input_file.h"
#include "driver/absolute_path.h"
#include "driver/run_files.h"
#include "writing/project_writer.h"

ConversionJob::ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                             std::string workspaceDir, std::string destFolder) {
  options.sourceProjectPath = std::move(sourceProjectPath);
  options.buildSettingsPath = std::move(buildSettingsPath);
  options.workspaceDir = std::move(workspaceDir);
  options.destFolder = std::move(destFolder);
}

ConversionJob::ConversionJob(ConversionOptions options) : options(std::move(options)) {}

ConversionOutcome ConversionJob::run() {
  Console console(options.realProject.enabled);
  ConversionOutcome outcome;
  // Progress is shown at once; warnings wait for the run's end.
  const NoteSink notes = [&console, &outcome](Note note) {
    if (isWarning(note.kind)) outcome.warnings.push_back(std::move(note));
    else console(std::move(note));
  };
  try {
    readProjectDescription();
    // A build description that cannot be opened ends the run: a conversion
    // without it would be reported as a success it is not.
    readBuildSettings(notes);
    checkWorkspace();
    writeAnalyserProject(notes, keepDatabaseEntries ? &outcome.databaseEntries : nullptr);
    // Warnings come after the progress lines and change nothing of the result.
    doing = "printing the warnings";
    printWarnings(outcome.warnings);
    return outcome;
  } catch (const Failure& failure) {
    outcome.failure = failure;
  } catch (const std::bad_alloc&) {
    // The tree may be what filled the memory: it goes first, so that the
    // line can be made. Temporary files are gone already, the earlier
    // result untouched.
    tree = BuiltTree();
    outcome.databaseEntries = {};
    outcome.warnings = {};
    outcome.failure = Failure(FailureKind::OutOfMemory, doing);
  }
  // A run that fails shows no warning.
  outcome.warnings = {};
  outcome.databaseEntries = {};
  printLine(messageFor(*outcome.failure));
  return outcome;
}

void ConversionJob::readProjectDescription() {
  doing = "reading the project description";
  project = readProject(options);
}

void ConversionJob::readBuildSettings(const NoteSink& notes) {
  doing = "reading the build description";
  buildTree(options, project, notes, tree);
}

void ConversionJob::checkWorkspace() const { ::checkWorkspace(options.workspaceDir); }

ProjectLayout ConversionJob::layout() const {
  ProjectLayout layout{options.destFolder, options.workspaceDir, project.name,
                       options.messagePersonality, options.compilerPersonality, nullptr};
  if (!options.analyserPersonality.empty()) {
    layout.readGivenAnalyserPersonality = [path = options.analyserPersonality] {
      return readInputFile(path);
    };
  }
  return layout;
}

void ConversionJob::writeAnalyserProject(const NoteSink& notes,
                                         std::vector<DatabaseEntry>* entries) {
  doing = "writing the analyser project";
  const ProjectLayout layout = this->layout();
  checkBeforeWriting(layout);
  if (options.compilationDatabase.empty()) {
    ::writeAnalyserProject(tree.root, layout, notes);
    return;
  }
  ::writeAnalyserProject(tree.root, layout, notes, [&](PendingFiles& pending) {
    writeCompilationDatabase(tree.root, databaseLayout(), pending, notes, entries);
  });
}

void ConversionJob::checkBeforeWriting(const ProjectLayout& layout) const {
  checkProjectNames(tree.root, layout.projectName);
  // No output may replace an input, nor the database another output.
  const RunFiles files = runFilesOf(options, layout, tree.root);
  checkRunFiles(files, options.currentDirectory);
  checkOutputs(files);
}

// The compilers are the chosen build spec's when its commands name them.
CompilationDatabaseLayout ConversionJob::databaseLayout() const {
  const std::string& cCompiler = tree.real.cProgram;
  const std::string& cxxCompiler = tree.real.cxxProgram;
  const std::string& current = options.currentDirectory;
  CompilationDatabaseLayout layout{
      options.compilationDatabase, absolutePath(options.workspaceDir, current),
      cCompiler.empty() ? "cc" : cCompiler, cxxCompiler.empty() ? "c++" : cxxCompiler,
      [current](const std::string& path) { return absolutePath(path, current); }};
  if (options.realProject.enabled) {
    layout.cMacros = &tree.real.cMacros;
    layout.cxxMacros = &tree.real.cxxMacros;
    layout.cWords = &tree.real.cWords;
    layout.cxxWords = &tree.real.cxxWords;
    layout.objectFolder = absolutePath(tree.real.objectFolder, current);
    for (const OtherSettings& other : tree.real.otherSettings) {
      layout.others.push_back({other.cProgram.empty() ? "cc" : other.cProgram,
                               other.cxxProgram.empty() ? "c++" : other.cxxProgram,
                               &other.cMacros, &other.cxxMacros,
                               &other.cWords, &other.cxxWords,
                               absolutePath(other.objectFolder, current)});
    }
    if (!tree.real.settingsOfFile.empty()) {
      layout.settingsOf = [&files = tree.real.settingsOfFile](const std::string& path) {
        const auto found = files.find(path);
        return found == files.end() ? std::size_t{0} : found->second + 1;
      };
    }
  }
  return layout;
}
