#include "building/real_project.h"

#include <algorithm>
#include <set>

#include "building/compiler_commands.h"
#include "building/include_paths.h"
#include "building/link_locations.h"
#include "building/own_sources.h"
#include "building/spec_choice.h"
#include "building/subprojects.h"
#include "building/target_settings.h"
#include "building/unique_files.h"
#include "model/failure.h"
#include "model/source_language.h"
#include "text/path.h"
#include "text/variable_references.h"

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

// A path of the system's own as Workbench puts it into a command.
std::string forwardSlashed(std::string text) {
  if constexpr (path::native == path::Style::windows) {
    std::replace(text.begin(), text.end(), '\\', '/');
  }
  return text;
}

// The include folders the analyser searches, in the compiler's order:
// each kind in turn, in command order within it; each folder once.
std::vector<std::string> searchedFolders(const CompilerInvocation& compiler,
                                         const IncludeContext& context) {
  // A pass per kind (there are four) keeps command order within each.
  std::vector<std::string> folders;
  for (const IncludeKind kind :
       {IncludeKind::Quote, IncludeKind::Plain, IncludeKind::System, IncludeKind::After}) {
    for (const auto& include : compiler.includes) {
      if (include.kind != kind) continue;
      std::string folder = resolvedInclude(include.path, context);
      if (!folder.empty()) folders.push_back(std::move(folder));
    }
  }
  dropRepeats(folders);
  return folders;
}

// The compiler's words for the database: the program as far as it could be
// told (empty: the writer's default), each include folder resolved (an
// empty one dropped with its option).
std::vector<std::string> databaseWords(const CompilerInvocation& compiler,
                                       const IncludeContext& context,
                                       const std::string& currentDirectory) {
  if (compiler.words.empty()) return {};
  std::vector<std::string> words = compiler.words;
  std::vector<bool> dropped(words.size(), false);
  words[0] = compiler.program;
  for (const auto& include : compiler.includes) {
    std::string folder = resolvedInclude(include.path, context);
    // The database's folders are absolute, as its files are; one that
    // still names a variable stays as it is.
    if (!folder.empty() && !path::isAbsolute(folder) && !holdsReference(folder)) {
      folder = path::join(currentDirectory, folder);
    }
    std::string& word = words[include.word + (include.separate ? 1 : 0)];
    if (include.separate) word = folder;
    else word.replace(word.size() - include.path.size(), include.path.size(), folder);
    if (folder.empty()) {
      dropped[include.word] = true;
      if (include.separate) dropped[include.word + 1] = true;
    }
  }
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!dropped[i]) kept.push_back(std::move(words[i]));
  }
  return kept;
}

// The project's own files (its description, build description and
// settings) are no sources, whatever -ext says.
bool isProjectMetadata(std::string_view file) {
  static constexpr std::string_view kFiles[] = {".project", ".wrproject", ".cproject",
                                                ".wrmakefile"};
  const std::size_t start = path::fileNameStart(file);
  if (std::find(std::begin(kFiles), std::end(kFiles), file.substr(start)) != std::end(kFiles)) {
    return true;
  }
  // The folder's own name, the separator before the file's left out.
  const std::string_view folder = start == 0 ? "" : path::fileName(file.substr(0, start - 1));
  return folder == ".settings" || folder == ".metadata";
}

void dropProjectMetadata(FileGroup& root) {
  walkGroups(root, [](FileGroup& group) { std::erase_if(group.files, isProjectMetadata); },
             [](FileGroup&) {});
}

bool listsAnyFile(const FileGroup& root) {
  bool any = false;
  walkGroups(root, [&](const FileGroup& g) { any = any || !g.files.empty(); },
             [](const FileGroup&) {});
  return any;
}

class RealProjectBuilder {
 public:
  RealProjectBuilder(FileGroup& root, const ModeContext& context, RealProjectResult& result)
      : root(root), in(context), options(context.options), result(result) {}

  // The steps in their order. What was found stays in `result` when one
  // throws: the known build specs and targets name what -spec and -target
  // may be.
  void build(std::istream& stream) {
    readChosenSpec(stream);
    const BuildTarget* target = chosenTarget(statements.facts, options.target, result.knownTargets);
    ProjectLocator& locator = projectLocator.emplace(in.workspaceDir, in.scan.lister,
                                                     in.readProjectName, searchPassesOver());
    const FolderScan scan = modeScan(locator);
    for (std::size_t i = 0; i < statements.subprojectLists; ++i) {
      scan.scan(in.workspaceDir, root, false);  // as every conversion does
    }
    Subprojects& subprojects = subprojectsFound.emplace(locator);
    addSubprojects(in, scan, statements.subprojectPaths, root, subprojects);
    result.subprojectFolders = subprojects.found;
    note(Note(NoteKind::ScanningProjectFolder, in.projectFolder));
    const OwnSourcesFound own = addOwnSources(
        in, scan, {statements.facts, target, statements.knownSpecs, subprojects.excludedFolders},
        root);
    CompilerSettings compilers = compilerSettingsOf(
        {result.cCompiler, result.cxxCompiler, statements.includes, statements.facts, result.spec,
         debugMode()},
        variables());
    const IncludeContext includes{
        [&](const std::string& name) { return projectFolderNamed(name, in, subprojects); },
        options.maps, buildFolderOf(in.projectFolder, result.spec, statements.facts.outputFolders),
        linkedFolders()};
    const bool takeCxx =
        analyserTakesCxx(compilers, own.languages[static_cast<int>(SourceLanguage::C)],
                         own.languages[static_cast<int>(SourceLanguage::Cxx)]);
    root.includePaths = searchedFolders(takeCxx ? compilers.forCxx() : compilers.c, includes);
    for (const auto& path : root.includePaths) {
      variables().countLeft(path, VariableExpander::IncludePath);
    }
    countMacroValues(compilers, variables());
    root.macros = takeCxx ? compilers.forCxx().macros : compilers.c.macros;
    dropRepeatedFiles(root, in.currentDirectory, subprojects.groups);
    dropProjectMetadata(root);
    warn(own, compilers.cutCommands);
    takeSettings(compilers, includes, result);
    result.objectFolder = includes.buildFolder;
    addTargetSettings(own, includes);
    result.variables = variables().references();
  }

 private:
  // What `compilers` compile with, into `out`: the programs, the macros
  // and, for the database, the words.
  void takeSettings(CompilerSettings& compilers, const IncludeContext& includes,
                    CompileSettings& out) const {
    if (in.databaseWanted) {
      out.cWords = databaseWords(compilers.c, includes, in.currentDirectory);
      out.cxxWords = compilers.cxxAsC ? out.cWords
                                      : databaseWords(compilers.cxx, includes, in.currentDirectory);
    }
    if (compilers.cxxAsC) {
      out.cxxMacros = compilers.c.macros;
      out.cxxProgram = compilers.c.program;
    } else {
      out.cxxMacros = std::move(compilers.cxx.macros);
      out.cxxProgram = std::move(compilers.cxx.program);
    }
    out.cMacros = std::move(compilers.c.macros);
    out.cProgram = std::move(compilers.c.program);
  }

  // The files whose build target, folder or own entry sets entries of the
  // build spec: each set composed as the project's own settings are, its
  // objects in the target's folder (OBJ_DIR := T/$(MODE_DIR) in the Makefile).
  void addTargetSettings(const OwnSourcesFound& own, const IncludeContext& includes) {
    TargetSettingsPlan plan = planTargetSettings(own.attributed, result.spec, kMaxTargetSettings);
    for (auto& entries : plan.sets) composeSettings(std::move(entries), includes);
    for (auto& [file, set] : plan.files) result.settingsOfFile[std::move(file)] = set;
    if (plan.leftOver > 0) {
      Note many(NoteKind::TooManyTargetSettings);
      many.number = plan.leftOver;
      many.number2 = kMaxTargetSettings;
      note(std::move(many));
    }
  }

  void composeSettings(TargetEntries entries, const IncludeContext& includes) {
    LookupTable macros;
    for (const auto& [name, value] : entries.macros) macros.set(name, value);
    VariableExpander expander = makeExpander(entries.macros.empty() ? nullptr : &macros);
    WorkbenchFacts facts;
    facts.defines = entries.defines ? std::move(*entries.defines) : statements.facts.defines;
    facts.toolFlags = statements.facts.toolFlags;
    facts.toolFlags.insert(facts.toolFlags.end(), entries.toolFlags.begin(), entries.toolFlags.end());
    CompilerSettings compilers = compilerSettingsOf(
        {entries.cCommand.value_or(result.cCompiler), entries.cxxCommand.value_or(result.cxxCompiler),
         entries.includes ? *entries.includes : statements.includes, facts, result.spec, debugMode()},
        expander);
    OtherSettings other;
    takeSettings(compilers, includes, other);
    other.owner = in.projectName;
    other.spec = result.spec;
    other.target = std::move(entries.target);
    other.levels = std::move(entries.levels);
    other.objectFolder = path::join(path::join(includes.buildFolder, other.target),
                                    debugMode() ? "Debug" : "NonDebug");
    result.otherSettings.push_back(std::move(other));
  }

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

  // The folder names the workspace search passes over.
  std::set<std::string> searchPassesOver() const {
    std::set<std::string> passOver{".metadata"};
    passOver.insert(statements.knownSpecs.begin(), statements.knownSpecs.end());
    for (const auto& folder : statements.facts.outputFolders) passOver.insert(folder.value);
    return passOver;
  }

  // The one scan of the mode's steps: its groups name the folders they lie
  // in, and each folder the workspace search listed is not listed again.
  FolderScan modeScan(ProjectLocator& locator) const {
    FolderScan scan = in.scan;
    scan.lister = locator.sharedLister();
    scan.noteFolders = true;
    return scan;
  }

  // Made once the build spec is known: BUILD_SPEC is among Workbench's own.
  // Paths of the system's own go into commands that are split as a shell
  // splits them, where a "\" would escape the next character: on Windows
  // they take "/", as Workbench's Makefiles give its own variables.
  VariableExpander& variables() {
    if (!expander) expander.emplace(makeExpander(nullptr));
    return *expander;
  }

  // An expander of the build spec's variables, with a build target's own
  // macros when given.
  VariableExpander makeExpander(const LookupTable* targetMacros) const {
    VariableValues workbench{
        {"PRJ_ROOT_DIR", forwardSlashed(in.projectFolder)},
        {"WS_ROOT_DIR", forwardSlashed(path::comparable(in.workspaceDir, in.currentDirectory))}};
    if (!result.spec.empty()) workbench.emplace_back("BUILD_SPEC", result.spec);
    VariableValues given = options.variables;
    for (auto& value : given) value.second = forwardSlashed(std::move(value.second));
    Environment environment;
    if (in.environment) {
      environment = [&](const std::string& name) -> std::optional<std::string> {
        auto value = in.environment(name);
        if (value) *value = forwardSlashed(std::move(*value));
        return value;
      };
    }
    return VariableExpander(given, statements.buildMacros, environment, workbench, targetMacros);
  }

  // %DebugModeFlags% stands for the debug flags unless DEBUG_MODE, given
  // or a build macro, says otherwise; Workbench builds in debug mode.
  bool debugMode() {
    const bool set = statements.buildMacros.contains("DEBUG_MODE") ||
                     std::any_of(options.variables.begin(), options.variables.end(),
                                 [](const auto& given) { return given.first == "DEBUG_MODE"; });
    return !set || variables().expand("$(DEBUG_MODE)") == "1";
  }

  // Where each linked folder of the project is shown, and where it lies;
  // deeper links first, so that a link inside a linked folder wins.
  std::vector<std::pair<std::string, std::string>> linkedFolders() const {
    std::vector<std::pair<std::string, std::string>> folders;
    const LinkResolver resolver(in);
    for (const auto& link : in.links.links) {
      if (!link.folder) continue;
      const LinkLocation where = resolver.resolve(link);
      if (where.kind != LinkLocation::Path) continue;
      folders.emplace_back(
          path::comparable(path::join(in.projectFolder, link.name), in.currentDirectory),
          where.path);
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return folders;
  }

  // `cutCommands`: the tools whose command was held to its bound.
  void warn(const OwnSourcesFound& own,
            const std::vector<std::pair<std::string, std::size_t>>& cutCommands) {
    const std::vector<std::string>& missingLinks = own.missingLinks;
    for (const auto& left : variables().left()) note(leftNote(left));
    for (const auto& loop : own.targetLoops) note(Note(NoteKind::BuildTargetLoop, loop));
    if (!own.emptyTarget.empty()) note(Note(NoteKind::BuildTargetWithoutContents, own.emptyTarget));
    for (const auto& [tool, bound] : cutCommands) {
      Note cut(NoteKind::CommandTooLong, tool);
      cut.number = bound >> 20;
      note(std::move(cut));
    }
    if (!missingLinks.empty()) {
      Note links(NoteKind::LinkedResourcesLeftOut, in.projectName);
      links.names = missingLinks;
      note(std::move(links));
    }
    if (projectLocator->searchCutShort()) {
      Note cut(NoteKind::SearchCutShort);
      cut.number = ProjectLocator::kMaxFolders;
      note(std::move(cut));
    }
    if (!listsAnyFile(root)) note(Note(NoteKind::NoSourceFile));
  }

  void note(Note n) const {
    in.notes(std::move(n));
  }

  static constexpr std::size_t kMaxTargetSettings = 64;

  FileGroup& root;
  const ModeContext& in;
  const RealProjectOptions& options;
  RealProjectResult& result;
  SpecStatements statements;
  std::optional<ProjectLocator> projectLocator;
  std::optional<Subprojects> subprojectsFound;
  std::optional<VariableExpander> expander;
};

}  // namespace

void buildRealProjectTree(std::istream& in, FileGroup& root, const ModeContext& context,
                          RealProjectResult& result) {
  RealProjectBuilder(root, context, result).build(in);
}

RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const ModeContext& context) {
  RealProjectResult result;
  buildRealProjectTree(in, root, context, result);
  return result;
}
