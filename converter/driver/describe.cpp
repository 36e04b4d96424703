// Plovik -describe: the job's reading steps and the checks made before
// anything is written, and what they found as one JSON document.
#include <algorithm>
#include <new>

#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/messages.h"
#include "driver/run_files.h"
#include "model/file_names.h"
#include "platform/platform.h"
#include "writing/description.h"
#include "writing/personality_files.h"
#include "writing/project_writer.h"

namespace {

const char* sourceName(VariableExpander::Source source) {
  switch (source) {
    case VariableExpander::Source::Given: return "-var";
    case VariableExpander::Source::BuildMacro: return "build macro";
    case VariableExpander::Source::Workbench: return "Workbench";
    case VariableExpander::Source::Environment: return "environment";
    case VariableExpander::Source::PathVariable: return kProjectFile.data();
    case VariableExpander::Source::None: break;
  }
  return "unresolved";
}

// Whose files the groups hold, in the real-project mode: a sub-project's
// for its own group and those below it, else the project's.
struct Owners {
  std::optional<std::string> owner;  // none: no owners named
  std::vector<std::pair<const FileGroup*, std::string>> owned;
};

// What the reading found, in either mode.
void takeFindings(const ConversionOptions& options, const ReadProject& project,
                  const BuiltTree& tree, Description& d, Owners& owners) {
  if (options.realProject.enabled) {
    const RealProjectResult& real = tree.real;
    d.knownSpecs = real.knownSpecs;
    if (!real.defaultSpec.empty()) d.defaultSpec = real.defaultSpec;
    if (!real.spec.empty()) d.chosenSpec = real.spec;
    d.knownTargets = real.knownTargets;
    if (!options.realProject.target.empty()) d.chosenTarget = options.realProject.target;
    d.referencedProjects = real.subprojectFolders;
    for (const auto& subproject : real.subprojectFolders) {
      // Named, not bound: clang lets no lambda take a structured binding.
      const std::string& name = subproject.first;
      const auto& folder = subproject.second;
      Description::SubprojectBuild& build = d.subprojectBuilds.emplace_back();
      const auto found = std::find_if(real.subprojects.begin(), real.subprojects.end(),
                                      [&](const auto& one) { return one.name == name; });
      if (!folder || found == real.subprojects.end()) continue;
      owners.owned.emplace_back(found->group, name);
      if (!found->settings) {
        build.settings = "project";
        continue;
      }
      build.settings = "own";
      const std::string& spec = real.otherSettings[*found->settings].spec;
      if (!spec.empty()) build.buildSpec = spec;
    }
    owners.owner = project.ownName;
    for (const auto& variable : real.variables) {
      d.variables.push_back({variable.name, variable.value, sourceName(variable.source)});
    }
    d.cCompiler = {real.cProgram, real.cChosen.command, real.cChosen.commands, real.cChosen.maybe};
    d.cxxCompiler = {real.cxxProgram, real.cxxChosen.command, real.cxxChosen.commands,
                     real.cxxChosen.maybe};
    // A build target's own settings: a sub-project's own are its group's.
    walkGroups(tree.root, [&](const FileGroup& group) {
      for (const auto& file : group.files) {
        const auto found = real.settingsOfFile.find(file);
        if (found == real.settingsOfFile.end()) continue;
        const OtherSettings& other = real.otherSettings[found->second];
        if (!other.target.empty()) d.fileSettings.push_back({file, other.target, other.levels});
      }
    }, [](const FileGroup&) {});
    return;
  }
  d.knownSpecs = knownSpecs(tree.facts);
  if (!tree.facts.defaultSpec.empty()) d.defaultSpec = tree.facts.defaultSpec;
  for (const auto& target : tree.facts.targets) d.knownTargets.push_back(target.name);
  d.referencedProjects = tree.defaultFolders;
}

}  // namespace

ConversionOutcome ConversionJob::describe(const std::optional<Failure>& optionFailure) {
  std::vector<Note> warnings;
  // Only the warnings: a progress line would be no part of the document.
  const NoteSink notes = [&warnings](Note note) {
    if (isWarning(note.kind)) warnings.push_back(std::move(note));
  };
  std::optional<Failure> failure = optionFailure;
  bool treeBuilt = false;
  try {
    if (!failure) {
      readProjectDescription();
      readBuildSettings(notes);
      treeBuilt = true;
      checkWorkspace();
      checkBeforeWriting(layout());
      notePersonalityLeftOuts(tree.root, notes);
      if (!options.compilationDatabase.empty()) {
        noteCompilationDatabaseLeftOuts(tree.root, databaseLayout(), notes);
      }
    }
  } catch (const Failure& caught) {
    failure = caught;
  } catch (const std::bad_alloc&) {
    tree = BuiltTree();
    treeBuilt = false;
    failure = Failure(FailureKind::OutOfMemory, doing);
  }
  ConversionOutcome outcome;
  Description& d = outcome.description.emplace();
  d.realProject = options.realProject.enabled;
  d.projectName = project.nameFromFile ? project.name : options.projectName;
  d.projectFrom = project.nameFromFile            ? std::string(kProjectFile)
                  : !options.projectName.empty() ? "-pn"
                                                 : "none";
  Owners owners;
  takeFindings(options, project, tree, d, owners);
  if (treeBuilt) describeGroups(d, tree.root, d.projectName, owners.owner, owners.owned);
  if (failure) {
    d.failure = messageFor(*failure);
  } else {
    std::stable_sort(warnings.begin(), warnings.end(), [](const Note& a, const Note& b) {
      return warningRank(a.kind) < warningRank(b.kind);
    });
    for (const Note& note : warnings) d.warnings.push_back(textOf(note));
    outcome.warnings = std::move(warnings);
  }
  outcome.failure = std::move(failure);
  return outcome;
}
