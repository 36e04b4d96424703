#include "driver/workspace_run.h"

#include <algorithm>
#include <new>
#include <optional>

#include "building/workspace_projects.h"
#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/ordered_pool.h"
#include "driver/project_reading.h"
#include "driver/run_files.h"
#include "model/failure.h"
#include "model/file_names.h"
#include "platform/platform.h"
#include "text/path.h"
#include "writing/compilation_database.h"
#include "writing/description.h"
#include "writing/make_directory.h"
#include "writing/project_writer.h"
#include "writing/run_outputs.h"

namespace {

// What one project's run left: its lines as printed, and its outcome.
struct ProjectRun {
  std::string text;
  ConversionOutcome outcome;
  bool converted = false;
  bool unexpected = false;  // ended on an error of no kind
  // The files its database enters for its sub-projects, as it enters them.
  std::vector<std::string> othersFiles;
};

// The files of the sub-projects' groups, made absolute as the database
// makes them.
std::vector<std::string> othersFilesOf(const RealProjectResult& real, const std::string& current) {
  std::vector<std::string> files;
  for (const auto& subproject : real.subprojects) {
    walkGroups(
        *subproject.group,
        [&](const FileGroup& group) {
          for (const auto& file : group.files) files.push_back(absolutePath(file, current));
        },
        [](const FileGroup&) {});
  }
  return files;
}

// The folder a project is converted into.
std::string destinationOf(const ConversionOptions& given, const WorkspaceProject& project) {
  return path::join(given.workspaceDest, project.outputName);
}

// The options one project is converted with: its own files and folder, the
// given ones (its own -pn, -spec, -target and -var among them), and its own
// database beside its project file. A fault of its own settings goes to
// `failure`, what came before it taken.
ConversionOptions optionsFor(const WorkspaceProject& project, const ConversionOptions& given,
                             std::optional<Failure>& failure) {
  ConversionOptions options = given;
  try {
    takeProjectSettings(options, project.name, project.outputName);
  } catch (const Failure& caught) {
    failure = caught;
  }
  options.projectSettings.clear();
  options.sourceProjectPath =
      absolutePath(path::join(project.folder, std::string(kProjectFile)), given.currentDirectory);
  options.buildSettingsPath = absolutePath(
      path::join(project.folder, std::string(kBuildDescriptionFile)), given.currentDirectory);
  options.workspaceDir = given.workspaceRun;
  options.destFolder = destinationOf(given, project);
  options.realProject.enabled = true;
  options.compilationDatabase.clear();
  if (!given.compilationDatabase.empty()) {
    options.compilationDatabase =
        path::join(options.destFolder, std::string(kCompilationDatabaseFile));
    options.passOver.push_back(given.compilationDatabase);
  }
  options.passOver.push_back(given.workspaceDest);
  return options;
}

ProjectRun convert(const WorkspaceProject& project, const ConversionOptions& given) {
  ProjectRun run;
  const CapturedOutput capture(run.text);
  try {
    std::optional<Failure> failure;
    ConversionOptions options = optionsFor(project, given, failure);
    if (given.describe) {
      ConversionJob job(std::move(options));
      run.outcome = job.describe(failure);
      run.converted = !run.outcome.failure;
      return run;
    }
    if (failure) throw *failure;
    // The folder is made only for a name that stays in the destination.
    checkProjectNames(FileGroup(), project.outputName);
    makeDirectory(options.destFolder);
    ConversionJob job(std::move(options));
    job.keepDatabaseEntries = !given.compilationDatabase.empty();
    run.outcome = job.run();
    run.converted = !run.outcome.failure;
    if (run.converted && job.keepDatabaseEntries) {
      run.othersFiles = othersFilesOf(job.tree.real, given.currentDirectory);
    }
  } catch (const Failure& failure) {
    run.outcome.failure = failure;
    printLine(messageFor(failure));
  } catch (const std::bad_alloc&) {
    run.outcome.failure = Failure(FailureKind::OutOfMemory, "converting " + project.name);
    printLine(messageFor(*run.outcome.failure));
  } catch (...) {
    // What ends a single conversion quietly (a library's error) ends this
    // project alone; the summary still says that it failed.
    run.converted = false;
    run.unexpected = true;
  }
  return run;
}

// "A, B, C".
std::string names(const std::vector<std::string>& list) {
  std::string text;
  for (const auto& name : list) text.append(text.empty() ? "" : ", ").append(name);
  return text;
}

}  // namespace

namespace {

// Exactly, as the names are written: the run cannot know how the platform
// of a later build folds letter case.
bool named(const WorkspaceProject& project, const std::string& name) {
  return project.name == name || project.outputName == name;
}

bool anyNamed(const std::vector<WorkspaceProject>& projects, const std::string& name) {
  return std::any_of(projects.begin(), projects.end(),
                     [&](const WorkspaceProject& project) { return named(project, name); });
}

// The failure of `option`'s `value` naming no project, with the known names,
// so a typing slip shows at once; a long list is cut.
Failure noProject(const std::vector<WorkspaceProject>& projects, const std::string& option,
                  const std::string& value) {
  std::vector<std::string> known;
  for (std::size_t i = 0; i < projects.size() && i < 20; ++i) known.push_back(projects[i].outputName);
  if (projects.size() > 20) known.push_back("...");
  return Failure(FailureKind::InvalidValue, option,
                 {value, "a project of the workspace: " + ::names(known)});
}

}  // namespace

void checkProjectPrefixes(const std::vector<WorkspaceProject>& projects,
                          const std::vector<ProjectSetting>& settings) {
  for (const ProjectSetting& setting : settings) {
    if (!setting.project || anyNamed(projects, *setting.project)) continue;
    throw noProject(projects,
                    std::string(optionTable()[static_cast<std::size_t>(setting.option)].name),
                    *setting.project + ":" + setting.value);
  }
}

std::vector<WorkspaceProject> chosenProjects(const std::vector<WorkspaceProject>& projects,
                                             const std::vector<std::string>& names) {
  if (names.empty()) return projects;
  for (const std::string& name : names) {
    if (!anyNamed(projects, name)) throw noProject(projects, "-project", name);
  }
  std::vector<WorkspaceProject> chosen;
  for (const WorkspaceProject& project : projects) {
    if (std::any_of(names.begin(), names.end(),
                    [&](const std::string& name) { return named(project, name); }))
      chosen.push_back(project);
  }
  return chosen;
}


namespace {

// The merged database against every file and folder of every project the
// run converts, before any of them: once a project is written, a database
// that replaces its .project or its output cannot be taken back.
void checkMergedDatabase(const ConversionOptions& given,
                         const std::vector<WorkspaceProject>& projects) {
  if (given.compilationDatabase.empty()) return;
  RunFiles files;
  files.database = given.compilationDatabase;
  files.folders.push_back(given.workspaceDest);
  for (const WorkspaceProject& project : projects) {
    std::optional<Failure> ignored;  // its own settings fail its project alone
    const ConversionOptions options = optionsFor(project, given, ignored);
    files.inputs.insert(files.inputs.end(),
                        {options.sourceProjectPath, options.buildSettingsPath,
                         options.analyserPersonality, options.messagePersonality,
                         options.compilerPersonality});
    const ProjectLayout layout{options.destFolder, options.workspaceDir, project.name,
                               options.messagePersonality, options.compilerPersonality, {}};
    for (auto& output : runOutputs(layout, options.compilationDatabase)) {
      if (output.kind == OutputKind::Destination || output.kind == OutputKind::PersonFolder) {
        files.folders.push_back(std::move(output.path));
      } else {
        files.outputs.push_back(std::move(output.path));
      }
    }
    files.folders.push_back(groupFolder(layout, project.name));
    files.folders.push_back(groupOutputFolder(layout, project.name));
  }
  // The -ap file is read before anything is written, so it may be replaced;
  // the merged database is no personality and never is.
  checkRunFiles(files, given.currentDirectory);
  RunFiles database;
  database.database = given.compilationDatabase;
  checkOutputs(database);
}

// The projects of the workspace, and the destination made; or the failure
// that ends the whole run before any project.
std::vector<WorkspaceProject> findProjects(const ConversionOptions& given,
                                           std::vector<std::string>& warnings) {
  checkWorkspace(given.workspaceRun);
  PassOver passOver;
  passOver.base = given.currentDirectory;
  passOver.add(given.workspaceDest);
  if (!given.compilationDatabase.empty()) passOver.add(given.compilationDatabase);
  WorkspaceSearch search =
      findWorkspaceProjects(given.workspaceRun, systemFolderLister(), readProjectName, passOver);
  if (search.cutShort) {
    warnings.push_back(
        workspaceSearchCutShortLine(ProjectLocator::kMaxDepth, ProjectLocator::kMaxFolders));
  }
  if (search.projects.empty()) throw Failure(FailureKind::NoWorkbenchProject, given.workspaceRun);
  std::vector<WorkspaceProject> chosen = chosenProjects(search.projects, given.projects);
  checkProjectPrefixes(search.projects, given.projectSettings);
  checkMergedDatabase(given, chosen);
  if (!given.describe) makeDirectory(given.workspaceDest);
  return chosen;
}

// The line the summary names a failed project's end with.
std::string failureOf(const ProjectRun& run) {
  if (run.unexpected || !run.outcome.failure) return workspaceUnexpectedFailure();
  return messageFor(*run.outcome.failure);
}

// The database of the projects that converted, their entries merged; false
// when it could not be written.
bool writeDatabase(const std::string& path, std::vector<ProjectEntries>& projects,
                   const std::vector<std::string>& failed) {
  const std::vector<const DatabaseEntry*> entries = mergedEntries(projects);
  try {
    writeDatabaseEntries(path, entries);
  } catch (const Failure& failure) {
    printLine(messageFor(failure));
    return false;
  }
  printLine(workspaceDatabaseLine(entries.size(), projects.size(), failed));
  return true;
}

// The summary, and the database of the projects that converted; false when
// that could not be written.
bool finish(const ConversionOptions& given, const std::vector<WorkspaceProject>& projects,
            std::vector<ProjectRun>& runs, const std::vector<std::string>& warnings) {
  std::vector<ProjectEntries> databases;
  std::vector<std::string> failed;
  for (std::size_t i = 0; i < projects.size(); ++i) {
    if (!runs[i].converted) {
      failed.push_back(projects[i].outputName);
    } else {
      databases.push_back(
          {std::move(runs[i].outcome.databaseEntries), std::move(runs[i].othersFiles)});
    }
  }
  printLine(workspaceCountLine(databases.size(), projects.size()));
  for (std::size_t i = 0; i < projects.size(); ++i) {
    const ProjectRun& run = runs[i];
    printLine(workspaceSummaryLine(projects[i].outputName, run.converted,
                                   run.outcome.warnings.size(),
                                   run.converted ? std::string() : failureOf(run)));
  }
  for (const auto& warning : warnings) printLine(warning);
  if (given.compilationDatabase.empty()) return true;
  // An empty database would only lose the one an earlier run wrote.
  if (databases.empty()) {
    printLine(workspaceNoDatabaseLine());
    return true;
  }
  return writeDatabase(given.compilationDatabase, databases, failed);
}

// The run described: each project's description as its own run gives it.
std::string describedWorkspace(const ConversionOptions& given,
                               const std::vector<WorkspaceProject>& projects,
                               std::vector<ProjectRun>& runs,
                               const std::vector<std::string>& warnings,
                               const std::optional<Failure>& failure) {
  WorkspaceDescription described{given.workspaceRun, given.workspaceDest, {}, warnings, {}};
  for (std::size_t i = 0; i < projects.size(); ++i) {
    described.projects.push_back({projects[i].name, projects[i].folder,
                                  destinationOf(given, projects[i]),
                                  std::move(runs[i].outcome.description)});
  }
  if (failure) described.failure = messageFor(*failure);
  return workspaceJson(described, textOf);
}

}  // namespace

int runWorkspace(const std::vector<std::string>& args) {
  ConversionOptions given;
  std::optional<Failure> failure;
  std::vector<WorkspaceProject> projects;
  std::vector<std::string> warnings;
  // -describe, wherever it stands, describes the run: an option's fault
  // before it goes into the description too.
  given.describe = holdsOption(args, OptionId::Describe);
  try {
    if (!applyOptions(given, args)) throw Failure(FailureKind::MissingValue, args.back());
    projects = findProjects(given, warnings);
  } catch (const Failure& caught) {
    failure = caught;
  }
  std::vector<ProjectRun> runs(projects.size());
  const unsigned jobs = given.jobs == 0 ? processorCount() : given.jobs;
  if (!given.describe && !failure) platform::catchInterrupts();
  runInOrder(
      projects.size(), jobs, !given.describe,
      [&](std::size_t i) { runs[i] = convert(projects[i], given); },
      [&](std::size_t i) {
        if (given.describe) return;
        printLine(workspaceProjectHeading(i + 1, projects.size(), projects[i].outputName,
                                          projects[i].folder));
        printText(runs[i].text);
      });
  const bool allConverted =
      std::all_of(runs.begin(), runs.end(), [](const ProjectRun& run) { return run.converted; });
  if (given.describe) {
    printText(describedWorkspace(given, projects, runs, warnings, failure));
    return failure || !allConverted ? 1 : 0;
  }
  if (failure) {
    printLine(messageFor(*failure));
    return 1;
  }
  const bool written = finish(given, projects, runs, warnings);
  return allConverted && written ? 0 : 1;
}
