#include "building/real_project.h"

#include <algorithm>
#include <memory>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "building/compiler_commands.h"
#include "building/include_paths.h"
#include "building/link_locations.h"
#include "building/own_sources.h"
#include "building/spec_choice.h"
#include "building/subprojects.h"
#include "building/target_settings.h"
#include "building/unique_files.h"
#include "model/failure.h"
#include "model/file_names.h"
#include "model/source_language.h"
#include "text/path.h"
#include "text/shell_recipe.h"
#include "text/variable_references.h"

namespace {

// Why a variable reference was left in texts, and in how many.
Note leftNote(const VariableExpander::Left& left) {
  const Note::LeftIn in{left.count[VariableExpander::IncludePath],
                         left.count[VariableExpander::MacroValue]};
  switch (left.reason) {
    case VariableExpander::Reason::Unresolved: break;
    case VariableExpander::Reason::RefersToItself:
      return Note(NoteKind::VariableRefersToItself, left.name, Note::VariableLeft{in});
    case VariableExpander::Reason::TooDeep:
      return Note(NoteKind::VariableTooDeep, left.name,
                  Note::VariableTooDeep{in, VariableExpander::kMaxDepth});
    case VariableExpander::Reason::TooLong:
      return Note(NoteKind::VariableTooLong, left.name,
                  Note::VariableTooLong{in, VariableExpander::kMaxTextSize >> 20,
                                         VariableExpander::kMaxGrowth >> 20});
    case VariableExpander::Reason::Malformed:
      return Note(NoteKind::MalformedReference, left.name, Note::VariableLeft{in});
  }
  return Note(NoteKind::UnresolvedVariable, left.name, Note::VariableLeft{in});
}

const BuildTarget* chosenTarget(const WorkbenchFacts& facts, const std::string& name,
                                const std::vector<std::string>& known) {
  if (name.empty()) return nullptr;
  for (const auto& target : facts.targets) {
    if (target.name == name) return &target;
  }
  throw Failure(FailureKind::UnknownBuildTarget, name, known);
}

RealProjectResult::CommandChosen chosenOf(const CompilerInvocation& compiler) {
  return {compiler.command, compiler.commands, compiler.maybe};
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
  static constexpr std::string_view kFiles[] = {kProjectFile, kBuildDescriptionFile, ".cproject",
                                                ".wrmakefile"};
  const std::size_t start = path::fileNameStart(file);
  if (std::find(std::begin(kFiles), std::end(kFiles), file.substr(start)) != std::end(kFiles)) {
    return true;
  }
  // The folder's own name, the separator before the file's left out.
  const std::string_view folder = start == 0 ? "" : path::fileName(file.substr(0, start - 1));
  return folder == kSettingsFolder || folder == kMetadataFolder;
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

// `more` counted into `into`: a variable left for the same reason is one
// entry, its counts added; the others follow in their order.
void addLeft(std::vector<VariableExpander::Left>& into,
             const std::vector<VariableExpander::Left>& more) {
  std::unordered_map<std::string, std::size_t> at;
  const auto key = [](const VariableExpander::Left& left) {
    return left.name + '\0' + static_cast<char>('0' + static_cast<int>(left.reason));
  };
  for (std::size_t i = 0; i < into.size(); ++i) at.emplace(key(into[i]), i);
  for (const auto& left : more) {
    const auto [found, isNew] = at.emplace(key(left), into.size());
    if (isNew) {
      into.push_back(left);
      continue;
    }
    into[found->second].count[0] += left.count[0];
    into[found->second].count[1] += left.count[1];
  }
}

// The variables of `more` that `into` does not name yet, but Workbench's
// own, whose values are another project's.
void addReferences(std::vector<VariableExpander::Reference>& into,
                   const std::vector<VariableExpander::Reference>& more) {
  std::unordered_set<std::string> named;
  for (const auto& reference : into) named.insert(reference.name);
  for (const auto& reference : more) {
    if (reference.source == VariableExpander::Source::Workbench) continue;
    if (named.insert(reference.name).second) into.push_back(reference);
  }
}

// The compile settings of one build spec's commands (or of a build target's
// own inputs), as make runs them: each language's command composed and read,
// its object folder the build folder of `includes`, and, when
// `databaseWanted`, its words for the database with each include folder
// resolved against `includes` and made absolute from `currentDirectory`.
// `read`, when given, sees the commands as read before their macros and
// programs are handed over: the analyser personality and the warnings take
// theirs from there.
CompileSettings compileSettingsOf(const CompilerCommandInputs& inputs, VariableExpander& variables,
                                  const IncludeContext& includes,
                                  const std::string& currentDirectory, bool databaseWanted,
                                  const std::function<void(const CompilerSettings&)>& read) {
  CompilerSettings compilers = compilerSettingsOf(inputs, variables);
  if (read) read(compilers);
  // Nothing more is read from them as make's text.
  takeDollarsLiterally(compilers.c);
  if (!compilers.cxxAsC) takeDollarsLiterally(compilers.cxx);
  CompileSettings settings;
  if (databaseWanted) {
    settings.cWords = databaseWords(compilers.c, includes, currentDirectory);
    settings.cxxWords = compilers.cxxAsC
                            ? settings.cWords
                            : databaseWords(compilers.cxx, includes, currentDirectory);
  }
  settings.objectFolder = includes.buildFolder;
  if (compilers.cxxAsC) {
    settings.cxxMacros = compilers.c.macros;
    settings.cxxProgram = compilers.c.program;
  } else {
    settings.cxxMacros = std::move(compilers.cxx.macros);
    settings.cxxProgram = std::move(compilers.cxx.program);
  }
  settings.cMacros = std::move(compilers.c.macros);
  settings.cProgram = std::move(compilers.c.program);
  return settings;
}

class RealProjectBuilder {
 public:
  RealProjectBuilder(FileGroup& root, const RealProjectContext& context, BuildChoices& choices)
      : root(root), in(context), options(context.options), choices(choices) {}

  // The steps in their order. `choices` is filled first and stays when one
  // throws: the known build specs and targets name what -spec and -target
  // may be.
  RealProjectResult build(std::istream& stream) {
    readChosenSpec(stream);
    LinkResolver links(in, workbenchVariables(in.projectFolder, statements.spec));
    const BuildTarget* target =
        chosenTarget(statements.facts, options.target, choices.knownTargets);
    ProjectLocator locator(in.workspaceDir, in.scan.lister, in.readProjectName, searchPassesOver());
    const FolderScan scan = realProjectScan(locator);
    for (std::size_t i = 0; i < statements.subprojectLists; ++i) {
      scan.scan(in.workspaceDir, root, false);  // as every conversion does
    }
    Subprojects subprojects(locator);
    addSubprojects(in, scan, statements.subprojectPaths, root, subprojects);
    note(Note(NoteKind::ScanningProjectFolder, in.projectFolder));
    const OwnSourcesFound own = addOwnSources(
        in, scan,
        {statements.facts, target, statements.knownSpecs, subprojects.excludedFolders, links},
        root);
    bool takeCxx = false;
    RealProjectResult::CommandChosen cChosen, cxxChosen;
    CompileSettings ownSettings = settingsOfSpec(
        in.projectFolder, statements, variables(),
        [&](const std::string& name) { return projectFolderNamed(name, in, subprojects); },
        linkedFolders(links),
        [&](const CompilerSettings& compilers, const IncludeContext& includes) {
          takeCxx =
              analyserTakesCxx(compilers, own.languages[static_cast<int>(SourceLanguage::C)],
                               own.languages[static_cast<int>(SourceLanguage::Cxx)]);
          root.includePaths =
              searchedFolders(takeCxx ? compilers.forCxx() : compilers.c, includes);
          for (const auto& path : root.includePaths) {
            variables().countLeft(path, VariableExpander::IncludePath);
          }
          countMacroValues(compilers, variables());
          cChosen = chosenOf(compilers.c);
          cxxChosen = chosenOf(compilers.forCxx());
          takeCommandNotes(compilers, statements.spec);
          ownIncludes.emplace(includes);
        });
    // Nothing more is read from them as make's text.
    for (auto& path : root.includePaths) takeDollarsLiterally(path);
    root.macros = takeCxx ? ownSettings.cxxMacros : ownSettings.cMacros;
    for (const auto& scanned : subprojects.scanned) {
      takeSubprojectSettings(scanned, subprojects);
    }
    addTargetSettings(own);
    dropRepeatedFiles(root, in.currentDirectory, subprojects.groups);
    dropProjectMetadata(root);
    mapSubprojectFiles();
    warn(own, locator);

    RealProjectResult result;
    static_cast<CompileSettings&>(result) = std::move(ownSettings);
    static_cast<BuildChoices&>(result) = choices;
    result.spec = statements.spec;
    result.cCompiler = statements.cCompiler;
    result.cxxCompiler = statements.cxxCompiler;
    result.cChosen = cChosen;
    result.cxxChosen = cxxChosen;
    result.otherSettings = std::move(otherSettings);
    result.settingsOfFile = std::move(settingsOfFile);
    result.subprojects = std::move(subprojectsTaken);
    result.subprojectFolders = subprojects.found;
    result.variables = variables().references();
    addLinkVariables(result.variables, links);
    addReferences(result.variables, otherReferences);
    return result;
  }

 private:
  void readChosenSpec(std::istream& stream) {
    try {
      readSpecStatements(stream, options.spec, statements);
    } catch (const Failure&) {
      takeChoices();
      throw;
    }
    takeChoices();
  }

  void takeChoices() {
    choices.knownSpecs = statements.knownSpecs;
    choices.defaultSpec = statements.facts.defaultSpec;
    for (const auto& target : statements.facts.targets) choices.knownTargets.push_back(target.name);
  }

  // The folder names the workspace search passes over.
  std::set<std::string> searchPassesOver() const {
    std::set<std::string> passOver{std::string(kMetadataFolder)};
    passOver.insert(statements.knownSpecs.begin(), statements.knownSpecs.end());
    for (const auto& folder : statements.facts.outputFolders) passOver.insert(folder.value);
    return passOver;
  }

  // The one scan of the real-project mode's steps: its groups name the
  // folders they lie in, and each folder the workspace search listed is not
  // listed again.
  FolderScan realProjectScan(ProjectLocator& locator) const {
    FolderScan scan = in.scan;
    scan.lister = locator.sharedLister();
    scan.noteFolders = true;
    scan.danglingLinksAreFiles = false;
    return scan;
  }

  // The variables Workbench defines for every build of the project at
  // `folder` whose build spec `spec` is read, its folders as the system's own
  // paths.
  VariableValues workbenchVariables(const std::string& folder, const std::string& spec) const {
    VariableValues values{{"PRJ_ROOT_DIR", folder},
                          {"WS_ROOT_DIR", path::comparable(in.workspaceDir, in.currentDirectory)}};
    if (!spec.empty()) values.emplace_back("BUILD_SPEC", spec);
    return values;
  }

  // Made once the build spec is known: BUILD_SPEC is among Workbench's own.
  VariableExpander& variables() {
    if (!expander) emplaceVariables(expander, in.projectFolder, statements);
    return *expander;
  }

  // The variables of a project at `folder` whose build spec `spec` is read.
  // Paths of the system's own go into commands that are split as a shell
  // splits them, where a "\" would escape the next character: on Windows
  // they take "/", as Workbench's Makefiles give its own variables.
  // `targetMacros`, when given, a build target's own macros over the build spec's.
  void emplaceVariables(std::optional<VariableExpander>& into, const std::string& folder,
                        const SpecStatements& spec,
                        const LookupTable* targetMacros = nullptr) const {
    VariableValues workbench = workbenchVariables(folder, spec.spec);
    for (auto& [name, value] : workbench) {
      if (name != "BUILD_SPEC") value = forwardSlashed(std::move(value));
      // Each one word of a command whatever it holds (a space, a quote).
      value = keptWhole(value);
    }
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
    into.emplace(given, spec.buildMacros, environment, workbench, targetMacros);
  }

  // %DebugModeFlags% stands for the debug flags unless DEBUG_MODE, given
  // or a build macro, says otherwise; Workbench builds in debug mode.
  bool debugMode(const SpecStatements& spec, VariableExpander& variables) const {
    const bool set = spec.buildMacros.contains("DEBUG_MODE") ||
                     std::any_of(options.variables.begin(), options.variables.end(),
                                 [](const auto& given) { return given.first == "DEBUG_MODE"; });
    return !set || variables.expand("$(DEBUG_MODE)") == "1";
  }

  // The compile settings of the build spec `spec` of the project at
  // `folder`, as for the project itself: its commands with its variables,
  // its include entries resolved from its folder and build folder, `%Proj-NAME%`
  // by `projectFolder`, below its linked folders from their locations.
  // `read` sees the commands read and what their folders are resolved against.
  CompileSettings settingsOfSpec(
      const std::string& folder, const SpecStatements& spec, VariableExpander& variables,
      std::function<std::string(const std::string&)> projectFolder,
      std::vector<std::pair<std::string, std::string>> linked,
      const std::function<void(const CompilerSettings&, const IncludeContext&)>& read) const {
    const IncludeContext includes{std::move(projectFolder), options.maps,
                                  buildFolderOf(folder, spec.spec, spec.facts.outputFolders),
                                  std::move(linked)};
    return compileSettingsOf(
        {spec.cCompiler, spec.cxxCompiler, spec.includes, spec.facts, spec.spec,
         debugMode(spec, variables)},
        variables, includes, in.currentDirectory, in.databaseWanted,
        [&](const CompilerSettings& compilers) {
          if (read) read(compilers, includes);
        });
  }

  // A sub-project's files take its own settings, composed as the project's
  // are from its own .wrproject: the build spec named like the project's
  // where it has one, else its own choice. Without a readable .wrproject
  // they keep the project's, and a warning names the sub-project.
  void takeSubprojectSettings(const Subprojects::Scanned& scanned, Subprojects& subprojects) {
    RealProjectResult::Subproject& record =
        subprojectsTaken.emplace_back(
            RealProjectResult::Subproject{scanned.name, scanned.group, std::nullopt});
    std::optional<SpecStatements> read;
    if (!readSubprojectSpec(scanned.folder, read)) {
      withoutDescription.push_back(scanned.name);
      return;
    }
    const SpecStatements& spec = *read;
    // Its PRJ_ROOT_DIR is absolute, as the project's own.
    const std::string folder = path::comparable(scanned.folder, in.currentDirectory);
    std::optional<VariableExpander> own;
    emplaceVariables(own, folder, spec);
    OtherSettings other;
    static_cast<CompileSettings&>(other) = settingsOfSpec(
        folder, spec, *own,
        [&](const std::string& name) {
          return name == scanned.name ? folder : projectFolderNamed(name, in, subprojects);
        },
        {}, [&](const CompilerSettings& compilers, const IncludeContext& includes) {
          // Both languages' folders reach the database.
          std::vector<std::string> folders = searchedFolders(compilers.c, includes);
          if (!compilers.cxxAsC) {
            for (auto& path : searchedFolders(compilers.cxx, includes)) {
              folders.push_back(std::move(path));
            }
            dropRepeats(folders);
          }
          for (const auto& path : folders) own->countLeft(path, VariableExpander::IncludePath);
          countMacroValues(compilers, *own);
          takeCommandNotes(compilers, spec.spec);
        });
    other.owner = scanned.name;
    other.spec = spec.spec;
    record.settings = otherSettings.size();
    otherSettings.push_back(std::move(other));
    addLeft(otherLeft, own->left());
    addReferences(otherReferences, own->references());
  }

  // False when the sub-project in `folder` has no .wrproject to read.
  bool readSubprojectSpec(const std::string& folder, std::optional<SpecStatements>& spec) const {
    if (!in.openBuildDescription) return false;
    const std::string file = path::join(folder, kBuildDescriptionFile);
    std::unique_ptr<std::istream> stream = in.openBuildDescription(file);
    if (!stream) return false;
    if (!statements.spec.empty()) {
      try {
        readSpecStatements(*stream, statements.spec, spec.emplace());
        return true;
      } catch (const Failure& failure) {
        if (failure.kind != FailureKind::UnknownBuildSpec) throw;
      }
      // It has no build spec of that name: read again for its own choice.
      stream = in.openBuildDescription(file);
      if (!stream) return false;
    }
    readSpecStatements(*stream, "", spec.emplace());
    return true;
  }

  // The own files whose build target, folder or own entry sets entries of
  // the build spec: each set composed as the project's own settings are,
  // with the project's include folders, its objects in the target's folder
  // (OBJ_DIR := T/$(MODE_DIR) in the Makefile).
  void addTargetSettings(const OwnSourcesFound& own) {
    TargetSettingsPlan plan =
        planTargetSettings(own.attributed, statements.spec, kMaxTargetSettings);
    for (auto& entries : plan.sets) composeTargetSettings(std::move(entries));
    for (auto& [file, set] : plan.files) settingsOfFile[std::move(file)] = set;
    targetSettingsLeftOver = plan.leftOver;
  }

  void composeTargetSettings(TargetEntries entries) {
    LookupTable macros;
    for (const auto& [name, value] : entries.macros) macros.set(name, value);
    std::optional<VariableExpander> own;
    emplaceVariables(own, in.projectFolder, statements, entries.macros.empty() ? nullptr : &macros);
    WorkbenchFacts facts;
    facts.defines = entries.defines ? std::move(*entries.defines) : statements.facts.defines;
    facts.toolFlags = statements.facts.toolFlags;
    facts.toolFlags.insert(facts.toolFlags.end(), entries.toolFlags.begin(), entries.toolFlags.end());
    OtherSettings other;
    static_cast<CompileSettings&>(other) = compileSettingsOf(
        {entries.cCommand.value_or(statements.cCompiler),
         entries.cxxCommand.value_or(statements.cxxCompiler),
         entries.includes ? *entries.includes : statements.includes, facts, statements.spec,
         debugMode(statements, variables())},
        *own, *ownIncludes, in.currentDirectory, in.databaseWanted,
        [&](const CompilerSettings& compilers) {
          std::vector<std::string> folders = searchedFolders(compilers.c, *ownIncludes);
          if (!compilers.cxxAsC) {
            for (auto& path : searchedFolders(compilers.cxx, *ownIncludes)) {
              folders.push_back(std::move(path));
            }
          }
          for (const auto& path : folders) own->countLeft(path, VariableExpander::IncludePath);
          countMacroValues(compilers, *own);
          takeCommandNotes(compilers, statements.spec);
        });
    other.owner = in.projectName;
    other.spec = statements.spec;
    other.target = std::move(entries.target);
    other.levels = std::move(entries.levels);
    other.objectFolder = path::join(path::join(ownIncludes->buildFolder, other.target),
                                    debugMode(statements, variables()) ? "Debug" : "NonDebug");
    otherSettings.push_back(std::move(other));
    addReferences(otherReferences, own->references());
    // A variable they leave that the project's settings leave too is named
    // by the project's warning already.
    std::vector<VariableExpander::Left> more;
    for (const auto& left : own->left()) {
      const auto same = [&](const VariableExpander::Left& known) { return known.name == left.name; };
      if (std::none_of(variables().left().begin(), variables().left().end(), same)) {
        more.push_back(left);
      }
    }
    addLeft(otherLeft, more);
  }

  // Each file of a sub-project with settings of its own, by the path its
  // group lists it under, once the tree keeps each file once.
  void mapSubprojectFiles() {
    for (const auto& subproject : subprojectsTaken) {
      if (!subproject.settings) continue;
      walkGroups(*subproject.group,
                 [&](const FileGroup& group) {
                   for (const auto& file : group.files) {
                     settingsOfFile.emplace(file, *subproject.settings);
                   }
                 },
                 [](const FileGroup&) {});
    }
  }

  // Where each linked folder of the project is shown, and where it lies;
  // deeper links first, so that a link inside a linked folder wins.
  std::vector<std::pair<std::string, std::string>> linkedFolders(LinkResolver& resolver) const {
    std::vector<std::pair<std::string, std::string>> folders;
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

  // The variables of link locations the commands do not name, after theirs:
  // one entry per name.
  static void addLinkVariables(std::vector<VariableExpander::Reference>& variables,
                               const LinkResolver& links) {
    std::set<std::string_view> named;
    for (const auto& reference : variables) named.insert(reference.name);
    std::vector<VariableExpander::Reference> added;
    for (const auto& reference : links.references()) {
      if (!named.contains(reference.name)) added.push_back(reference);
    }
    variables.insert(variables.end(), std::make_move_iterator(added.begin()),
                     std::make_move_iterator(added.end()));
  }

  // What composing a build spec's commands found to warn of, each once
  // for the project and its sub-projects: the tools whose command was held
  // to its bound, those whose compiling command cannot be told or takes no
  // lists (with the build spec), the values split into words.
  void takeCommandNotes(const CompilerSettings& compilers, const std::string& spec) {
    // A note of the same kind, tool and build spec as one kept is told by
    // that one (a tool's bound is told as first met).
    const auto add = [&](Note one) {
      const auto* oneSpec = std::get_if<Note::OfSpec>(&one.detail);
      const bool known = std::any_of(commandNotes.begin(), commandNotes.end(), [&](const Note& n) {
        const auto* spec = std::get_if<Note::OfSpec>(&n.detail);
        return n.kind == one.kind && n.subject == one.subject &&
               (spec == nullptr || oneSpec == nullptr || spec->spec == oneSpec->spec);
      });
      if (!known) commandNotes.push_back(std::move(one));
    };
    for (const auto& [tool, bound] : compilers.cutCommands) {
      add(Note(NoteKind::CommandTooLong, tool, Note::Megabytes{bound >> 20}));
    }
    for (const auto& [tools, kind] :
         {std::pair{&compilers.untold, NoteKind::NoCompilingCommand},
          std::pair{&compilers.takesNoLists, NoteKind::CompilerTakesNoLists}}) {
      for (const auto& tool : *tools) add(Note(kind, tool, Note::OfSpec{spec}));
    }
    for (const auto& name : compilers.splitValues) add(Note(NoteKind::ValueSplit, name));
  }

  void warn(const OwnSourcesFound& own, const ProjectLocator& locator) {
    const std::vector<std::string>& missingLinks = own.missingLinks;
    if (!withoutDescription.empty()) {
      note(Note(NoteKind::SubprojectsWithoutBuildDescription, {},
                Note::NameList{withoutDescription}));
    }
    // A variable the sub-projects leave too is counted with the project's.
    std::vector<VariableExpander::Left> left = variables().left();
    addLeft(left, otherLeft);
    for (const auto& one : left) note(leftNote(one));
    for (const auto& loop : own.targetLoops) note(Note(NoteKind::BuildTargetLoop, loop));
    if (own.moreTargetLoops > 0) {
      note(Note(NoteKind::MoreBuildTargetLoops, {}, Note::Counted{own.moreTargetLoops}));
    }
    if (!own.emptyTarget.empty()) note(Note(NoteKind::BuildTargetWithoutContents, own.emptyTarget));
    if (targetSettingsLeftOver > 0) {
      note(Note(NoteKind::TooManyTargetSettings, {},
                Note::SettingsLeftOver{targetSettingsLeftOver, kMaxTargetSettings}));
    }
    for (const Note& one : commandNotes) note(one);
    if (!missingLinks.empty()) {
      note(Note(NoteKind::LinkedResourcesLeftOut, in.projectName, Note::NameList{missingLinks}));
    }
    if (locator.searchCutShort()) {
      note(Note(NoteKind::SearchCutShort, {}, Note::Counted{ProjectLocator::kMaxFolders}));
    }
    if (!listsAnyFile(root)) note(Note(NoteKind::NoSourceFile));
  }

  void note(Note n) const {
    in.notes(std::move(n));
  }

  static constexpr std::size_t kMaxTargetSettings = 64;

  FileGroup& root;
  const RealProjectContext& in;
  const RealProjectOptions& options;
  BuildChoices& choices;
  SpecStatements statements;
  std::optional<VariableExpander> expander;  // variables()
  // What the sub-projects' own variables left, and those only they name.
  std::vector<VariableExpander::Left> otherLeft;
  std::vector<VariableExpander::Reference> otherReferences;
  std::vector<std::string> withoutDescription;  // the sub-projects that keep the project's settings
  std::vector<Note> commandNotes;               // takeCommandNotes
  std::optional<IncludeContext> ownIncludes;    // what the project's folders are resolved against
  std::size_t targetSettingsLeftOver = 0;       // files past kMaxTargetSettings sets
  // What the result hands on, gathered step by step.
  std::vector<OtherSettings> otherSettings;
  std::unordered_map<std::string, std::size_t> settingsOfFile;
  std::vector<RealProjectResult::Subproject> subprojectsTaken;
};

}  // namespace

RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectContext& context, BuildChoices& choices) {
  return RealProjectBuilder(root, context, choices).build(in);
}
