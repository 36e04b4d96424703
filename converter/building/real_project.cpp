#include "building/real_project.h"

#include <set>

#include "building/compiler_commands.h"
#include "building/include_paths.h"
#include "building/own_sources.h"
#include "building/spec_choice.h"
#include "building/subprojects.h"
#include "building/unique_files.h"
#include "model/failure.h"
#include "model/source_language.h"
#include "text/path.h"

namespace {

// Why a variable reference was left in texts, and in how many.
Note leftNote(const VariableExpander::Left& left) {
  Note note(NoteKind::UnresolvedVariable, left.name);
  note.counts[0] = left.count[0];
  note.counts[1] = left.count[1];
  switch (left.reason) {
    case VariableExpander::Reason::Unresolved: break;
    case VariableExpander::Reason::RefersToItself: note.kind = NoteKind::VariableRefersToItself; break;
    case VariableExpander::Reason::TooDeep:
      note.kind = NoteKind::VariableTooDeep;
      note.number = VariableExpander::kMaxDepth;
      break;
    case VariableExpander::Reason::TooLong:
      note.kind = NoteKind::VariableTooLong;
      note.number = VariableExpander::kMaxTextSize >> 20;
      note.number2 = VariableExpander::kMaxGrowth >> 20;
      break;
    case VariableExpander::Reason::Malformed: note.kind = NoteKind::MalformedReference; break;
  }
  return note;
}

const BuildTarget* chosenTarget(const WorkbenchFacts& facts, const std::string& name,
                                const std::vector<std::string>& known) {
  if (name.empty()) return nullptr;
  for (const auto& target : facts.targets) {
    if (target.name == name) return &target;
  }
  throw Failure(FailureKind::UnknownBuildTarget, name, known);
}

bool listsAnyFile(const FileGroup& root) {
  bool any = false;
  walkGroups(root, [&](const FileGroup& g) { any = any || !g.files.empty(); },
             [](const FileGroup&) {});
  return any;
}

class RealProjectBuilder {
 public:
  RealProjectBuilder(FileGroup& root, const RealProjectInputs& inputs,
                     const RealProjectOptions& options, RealProjectResult& result)
      : root(root), in(inputs), options(options), result(result) {}

  // The steps in their order. What was found stays in `result` when one
  // throws: the known build specs and targets name what -spec and -target
  // may be.
  void build(std::istream& stream) {
    readChosenSpec(stream);
    const BuildTarget* target = chosenTarget(statements.facts, options.target, result.knownTargets);
    for (std::size_t i = 0; i < statements.subprojectLists; ++i) {
      in.scan.scan(in.workspaceDir, root, false);  // as every conversion does
    }
    const SubprojectSearch search = subprojectSearch();
    addSubprojects(search, statements.subprojectPaths, in.referencedProjects, root, subprojects,
                   in.notes);
    result.subprojectFolders = subprojects.found;
    note(Note(NoteKind::ScanningProjectFolder, in.projectFolder));
    const OwnSourcesFound own = addOwnSources(
        {in.projectFolder, in.projectName, in.currentDirectory, in.scan, statements.facts, target,
         statements.knownSpecs, subprojects.excludedFolders, in.links, linkContext()},
        root);
    CompilerSettings compilers =
        compilerSettingsOf(statements.cCommands, result.cCompiler, result.cxxCompiler,
                           statements.facts, result.spec, variables());
    root.includePaths = includePathsOf(
        std::move(statements.includes),
        [&](const std::string& name) {
          return projectFolderNamed(name, search, in.projectFolder, subprojects);
        },
        variables(), options.maps,
        buildFolderOf(in.projectFolder, result.spec, statements.facts.outputFolders));
    expandMacroValues(compilers, variables());
    root.macros = analyserMacros(compilers, own.languages[static_cast<int>(SourceLanguage::C)],
                                 own.languages[static_cast<int>(SourceLanguage::Cxx)]);
    dropRepeatedFiles(root, in.currentDirectory, subprojects.groups);
    warn(own.missingLinks);
    result.cMacros = std::move(compilers.cMacros);
    result.cxxMacros = std::move(compilers.cxxMacros);
    result.cProgram = std::move(compilers.cProgram);
    result.cxxProgram = std::move(compilers.cxxProgram);
    result.variables = variables().references();
  }

 private:
  void readChosenSpec(std::istream& stream) {
    try {
      readSpecStatements(stream, options.spec, statements);
    } catch (const Failure&) {
      takeKnown();
      throw;
    }
    takeKnown();
    result.spec = statements.spec;
    result.cCompiler = statements.cCompiler;
    result.cxxCompiler = statements.cxxCompiler;
  }

  void takeKnown() {
    result.knownSpecs = statements.knownSpecs;
    result.defaultSpec = statements.facts.defaultSpec;
    for (const auto& target : statements.facts.targets) result.knownTargets.push_back(target.name);
  }

  SubprojectSearch subprojectSearch() const {
    std::set<std::string> passOver{".metadata"};
    passOver.insert(statements.knownSpecs.begin(), statements.knownSpecs.end());
    for (const auto& folder : statements.facts.outputFolders) passOver.insert(folder.value);
    return {in.workspaceDir, in.projectName, in.currentDirectory, in.scan, in.readProjectName,
            passOver};
  }

  LinkContext linkContext() const {
    return {in.projectFolder, path::comparable(in.workspaceDir, in.currentDirectory),
            options.variables, in.links.variables};
  }

  // Made once the build spec is known: BUILD_SPEC is among Workbench's own.
  VariableExpander& variables() {
    if (!expander) {
      VariableValues workbench{
          {"PRJ_ROOT_DIR", in.projectFolder},
          {"WS_ROOT_DIR", path::comparable(in.workspaceDir, in.currentDirectory)}};
      if (!result.spec.empty()) workbench.emplace_back("BUILD_SPEC", result.spec);
      expander.emplace(options.variables, statements.buildMacros, in.environment, workbench);
    }
    return *expander;
  }

  void warn(const std::vector<std::string>& missingLinks) {
    for (const auto& left : variables().left()) note(leftNote(left));
    if (!missingLinks.empty()) {
      Note links(NoteKind::LinkedResourcesLeftOut, in.projectName);
      links.names = missingLinks;
      note(std::move(links));
    }
    if (subprojects.locator->searchCutShort()) {
      Note cut(NoteKind::SearchCutShort);
      cut.number = ProjectLocator::kMaxFolders;
      note(std::move(cut));
    }
    if (!listsAnyFile(root)) note(Note(NoteKind::NoSourceFile));
  }

  void note(Note n) const {
    if (in.notes) in.notes(std::move(n));
  }

  FileGroup& root;
  const RealProjectInputs& in;
  const RealProjectOptions& options;
  RealProjectResult& result;
  SpecStatements statements;
  Subprojects subprojects;
  std::optional<VariableExpander> expander;
};

}  // namespace

void buildRealProjectTree(std::istream& in, FileGroup& root, const RealProjectInputs& inputs,
                          const RealProjectOptions& options, RealProjectResult& result) {
  RealProjectBuilder(root, inputs, options, result).build(in);
}

RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectInputs& inputs,
                                       const RealProjectOptions& options) {
  RealProjectResult result;
  buildRealProjectTree(in, root, inputs, options, result);
  return result;
}
