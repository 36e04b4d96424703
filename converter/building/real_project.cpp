#include "building/real_project.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>

#include "building/build_targets.h"
#include "building/compiler_program.h"
#include "building/linked_sources.h"
#include "model/failure.h"
#include "model/source_language.h"
#include "reading/build_settings.h"
#include "reading/workbench_facts.h"
#include "text/entities.h"
#include "text/lookup_table.h"
#include "text/path.h"
#include "text/repeats.h"

namespace {

constexpr char sep = path::separator();


bool isBlank(std::string_view text) {
  return text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
}

// Rewrites the start of `path` by the longest FROM of `maps` it begins with,
// "/" and "\" counting as the same.
std::string mapped(const std::string& path,
                   const std::vector<std::pair<std::string, std::string>>& maps) {
  const auto same = [](char a, char b) {
    return a == b || ((a == '/' || a == '\\') && (b == '/' || b == '\\'));
  };
  const std::pair<std::string, std::string>* best = nullptr;
  for (const auto& map : maps) {
    const std::string& from = map.first;
    if (from.size() > path.size() || (best && from.size() <= best->first.size())) continue;
    if (std::equal(from.begin(), from.end(), path.begin(), same)) best = &map;
  }
  return best ? best->second + path.substr(best->first.size()) : path;
}

class RealProjectBuilder {
 public:
  RealProjectBuilder(FileGroup& root, const RealProjectInputs& inputs,
                     const RealProjectOptions& options, RealProjectResult& result)
      : root(root), in(inputs), options(options), result(result) {}

  // What the builder found stays in `result` when it throws: the known build
  // specs and targets name what -spec and -target may be.
  void build(std::istream& stream) {
    read(stream);
    const BuildTarget* target = chooseTarget();
    addSubprojects();
    addOwnSources(target);
    addCompilerMacros();
    finishIncludePaths();
    expandMacroValues();
    chooseAnalyserMacros();
    dropRepeatedFiles();
    warn();
    result.variables = variables().references();
  }

 private:
  // One pass over the file: the statements, and beside them what only this
  // mode reads. The build spec to read is known first when it is given, or when a
  // quick look through the file finds its default (or its list of specs):
  // then each statement is taken in at once. Otherwise (a file that cannot
  // be read twice) the statements wait until the whole file is read.
  void read(std::istream& stream) {
    bool specKnown = !options.spec.empty();
    if (specKnown) {
      result.spec = options.spec;
    } else {
      std::string defaultSpec, firstSpec;
      specKnown = prescanSpecs(stream, defaultSpec, firstSpec);
      result.spec = defaultSpec.empty() ? firstSpec : defaultSpec;
    }
    WorkbenchFactsReader factsReader(facts);
    BuildSettingsReader reader(stream, true);
    reader.watchLines([&](std::string_view line) { factsReader.line(line); });
    BuildStatement statement;
    while (reader.next(statement)) {
      const std::string_view spec = specOfKey(statement.key);
      know(spec);
      if (specKnown) {
        if (forChosenSpec(spec)) {
          take(statement.kind, decodeEntities(statement.text), decodeEntities(statement.value));
        }
        continue;
      }
      statements.push_back({statement.kind, std::string(spec), decodeEntities(statement.text),
                            decodeEntities(statement.value)});
    }
    chooseSpec();
    for (auto& waiting : statements) {
      if (forChosenSpec(waiting.key)) take(waiting.kind, std::move(waiting.text), waiting.value);
    }
    statements.clear();
    statements.shrink_to_fit();
    for (const auto& command : facts.cxxCommands) {
      if (forChosenSpec(command.spec)) result.cxxCompiler = command.value;
    }
  }

  void know(std::string_view spec) {
    if (spec.empty() || spec == lastSpec) return;  // entries of one spec come together
    lastSpec = spec;
    if (seenSpecs.insert(lastSpec).second) specs.push_back(lastSpec);
  }

  // The known specs are the file's list and every spec a key names; -spec
  // must be one of them. Without -spec: the default, else the first listed.
  void chooseSpec() {
    std::vector<std::string> known;
    std::set<std::string> seen;
    for (const auto& spec : facts.specs) {
      if (seen.insert(spec).second) known.push_back(spec);
    }
    for (const auto& entry : facts.defines) know(entry.spec);
    for (const auto& spec : specs) {
      if (seen.insert(spec).second) known.push_back(spec);
    }
    specs = known;
    result.knownSpecs = known;
    result.defaultSpec = facts.defaultSpec;
    for (const auto& target : facts.targets) result.knownTargets.push_back(target.name);
    if (!options.spec.empty()) {
      if (seen.count(options.spec) == 0) {
        result.spec.clear();
        throw Failure(FailureKind::UnknownBuildSpec, options.spec, known);
      }
    } else if (!facts.defaultSpec.empty()) {
      result.spec = facts.defaultSpec;
    } else if (!facts.specs.empty()) {
      result.spec = facts.specs.front();
    }
  }

  const BuildTarget* chooseTarget() {
    if (options.target.empty()) return nullptr;
    std::vector<std::string> names;
    for (const auto& target : facts.targets) {
      if (target.name == options.target) return &target;
      names.push_back(target.name);
    }
    throw Failure(FailureKind::UnknownBuildTarget, options.target, names);
  }

  bool forChosenSpec(std::string_view spec) const {
    return result.spec.empty() || spec.empty() || spec == result.spec;
  }

  // One statement of the chosen spec, its texts decoded.
  void take(BuildStatement::Kind kind, std::string text, const std::string& value) {
    switch (kind) {
      case BuildStatement::SubprojectList: in.scan.scan(in.workspaceDir, root, false); break;
      case BuildStatement::Subproject: noteSubproject(text); break;
      case BuildStatement::Include: includes.push_back(std::move(text)); break;
      case BuildStatement::BuildMacro: buildMacros.set(text, value); break;
      case BuildStatement::CompilerCommand:
        // The statement's text is the attribute from its `value="` on.
        result.cCompiler = text.starts_with("value=\"") ? text.substr(7) : std::move(text);
        cCommands.push_back(result.cCompiler);
        break;
    }
  }

  // A sub-project is named by its whole path (without its first "/").
  void noteSubproject(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
    if (name.empty() || name == in.projectName) return;
    if (std::none_of(subprojects.begin(), subprojects.end(),
                     [&](const auto& known) { return known.first == name; })) {
      subprojects.emplace_back(name, path);
    }
  }

  void addSubprojects() {
    for (const auto& name : in.referencedProjects) noteSubproject(name);
    std::set<std::string> passOver{".metadata"};
    passOver.insert(specs.begin(), specs.end());
    for (const auto& folder : facts.outputFolders) passOver.insert(folder.value);
    locator.emplace(in.workspaceDir, in.scan.lister, in.readProjectName, passOver);
    for (const auto& [name, path] : subprojects) {
      const auto folder = locator->find(name, path);
      result.subprojectFolders.emplace_back(name, folder);
      if (!folder) {
        note({NoteKind::ProjectNotFound, name});
        continue;
      }
      projectFolders.set(name, *folder);
      excluded.insert(path::comparable(*folder, in.currentDirectory));
      auto group = std::make_unique<FileGroup>(name);
      group->sourceFolder = *folder;
      FolderScan scan = in.scan;
      scan.noteFolders = true;  // the groups name their real folders
      scan.scan(*folder, *group, true);
      subprojectGroups.insert(group.get());
      root.subGroups.push_back(std::move(group));
    }
  }

  // The project's own folder, like a sub-project, without its build output,
  // folders named like a build spec, .metadata and sub-project folders; its
  // linked resources where their names place them.
  void addOwnSources(const BuildTarget* target) {
    for (const auto& folder : facts.outputFolders) {
      excluded.insert(path::comparable(in.projectFolder + sep + folder.value, in.currentDirectory));
    }
    const std::set<std::string> specNames(specs.begin(), specs.end());
    FolderScan own = in.scan;
    own.noteFolders = true;
    own.skipFolder = [&](const std::string& folder) {
      const std::string name = folder.substr(folder.find_last_of("/\\") + 1);
      return name == ".metadata" || specNames.count(name) > 0 ||
             excluded.count(path::comparable(folder, in.currentDirectory)) > 0;
    };
    FileGroup sources;
    sources.sourceFolder = in.projectFolder;
    own.scan(in.projectFolder, sources, true);

    const TargetFilter filter(facts.targets, target, in.projectName);
    const std::size_t base = in.projectFolder.size() + 1;
    walkGroups(sources, [&](FileGroup& group) {
      std::erase_if(group.files, [&](const std::string& file) {
        return !filter.keeps(std::string_view(file).substr(base));
      });
    }, [](FileGroup&) {});
    // Linked files are judged by the names the project shows them under.
    missingLinks = addLinkedSources(
        sources, in.links, linkContext(), own, [&](std::string_view shown) {
          return acceptsFile(in.scan.fileExtensions, shown) && filter.keeps(shown);
        });
    walkGroups(sources, [&](const FileGroup& group) {
      for (const auto& file : group.files) ++ownSources[static_cast<int>(languageOf(file))];
    }, [](FileGroup& group) {
      std::erase_if(group.subGroups, [](const std::unique_ptr<FileGroup>& sub) {
        return sub->files.empty() && sub->subGroups.empty();
      });
    });
    root.sourceFolder = in.projectFolder;
    root.files.insert(root.files.end(), sources.files.begin(), sources.files.end());
    root.subGroups.insert(root.subGroups.begin(),
                          std::make_move_iterator(sources.subGroups.begin()),
                          std::make_move_iterator(sources.subGroups.end()));
    sources.subGroups.clear();
  }

  LinkContext linkContext() const {
    return {in.projectFolder, path::comparable(in.workspaceDir, in.currentDirectory),
            options.variables, in.links.variables};
  }

  // The compiler commands' macros, read as make runs a command: its
  // variables expanded (with every build macro, wherever the file sets it),
  // then split into words as a shell does. Then the defines lists, for both
  // languages, so that where a list and a command define a name the list
  // wins. And the programs the commands run.
  void addCompilerMacros() {
    for (const auto& command : cCommands) {
      defineFromWords(shellWords(variables().expand(command)), result.cMacros);
    }
    cCommandDefinesNone = result.cMacros.empty();
    for (const auto& command : facts.cxxCommands) {
      if (!forChosenSpec(command.spec)) continue;
      defineFromWords(shellWords(variables().expand(command.value)), result.cxxMacros);
    }
    std::map<std::string, std::string> listedMacros;
    for (const auto& entry : facts.defines) {
      if (!forChosenSpec(entry.spec) || isBlank(entry.value)) continue;
      defineFromWords(shellWords(variables().expand(entry.value)), listedMacros);
    }
    for (const auto& [name, value] : listedMacros) {
      result.cMacros[name] = value;
      result.cxxMacros[name] = value;
    }
    const auto expand = [this](std::string_view word) { return variables().expand(word); };
    result.cProgram = compilerProgram(result.cCompiler, expand);
    result.cxxProgram = compilerProgram(result.cxxCompiler, expand);
  }

  // One analyser personality serves every file: the C command's macros,
  // unless the project's own sources are all C++ or the C command defines
  // none.
  void chooseAnalyserMacros() {
    const std::size_t c = ownSources[static_cast<int>(SourceLanguage::C)];
    const std::size_t cxx = ownSources[static_cast<int>(SourceLanguage::Cxx)];
    const bool takeCxx = (cxx > 0 && c == 0) || cCommandDefinesNone;
    root.macros = takeCxx ? result.cxxMacros : result.cMacros;
  }

  // Each file once, the first time the tree lists it: a linked file, a
  // project inside another or the project folder as the workspace folder
  // reach the same file more than once. Groups left empty by this go too,
  // but for the sub-projects' own.
  void dropRepeatedFiles() {
    std::vector<std::pair<FileGroup*, std::size_t>> files;
    walkGroups(root, [&](FileGroup& group) {
      for (std::size_t i = 0; i < group.files.size(); ++i) files.emplace_back(&group, i);
    }, [](FileGroup&) {});
    // A file is told by its folder's comparable path, made once for the
    // files of a folder, and its name.
    std::string folder, comparableFolder;
    std::size_t folderHash = 0;
    const auto lastSeparator = [](const std::string& file) {
      std::size_t at = file.size();
      while (at > 0 && file[at - 1] != '/' && file[at - 1] != '\\') --at;
      return at;  // just after it; 0 for none
    };
    const auto hash = [&](std::size_t i) {
      const std::string& file = files[i].first->files[files[i].second];
      const std::size_t name = lastSeparator(file);
      // The folder without its separator, but a root's ("/", "C:\\") with it.
      std::size_t cut = name == 0 ? 0 : name - 1;
      if (cut == 0 || (cut == 2 && file[1] == ':')) cut = name;
      const std::string_view in(file.data(), cut);
      if (in != folder) {
        folder = in;
        comparableFolder = path::comparable(folder, this->in.currentDirectory);
        folderHash = std::hash<std::string>{}(comparableFolder);
      }
      return folderHash * 31 + std::hash<std::string_view>{}(std::string_view(file).substr(name));
    };
    const auto key = [&](std::size_t i) {
      const std::string& file = files[i].first->files[files[i].second];
      return path::comparable(file, this->in.currentDirectory);
    };
    const std::vector<bool> repeated = repeatedItems(
        files.size(), hash, [&](std::size_t i, std::size_t j) { return key(i) == key(j); });
    // A group's files are next to each other in the list.
    std::set<const FileGroup*> emptied;
    for (std::size_t i = 0; i < files.size();) {
      FileGroup* group = files[i].first;
      std::size_t kept = 0;
      for (; i < files.size() && files[i].first == group; ++i) {
        if (repeated[i]) continue;
        if (kept != files[i].second) group->files[kept] = std::move(group->files[files[i].second]);
        ++kept;
      }
      if (kept == group->files.size()) continue;
      group->files.resize(kept);
      emptied.insert(group);
    }
    if (emptied.empty()) return;
    walkGroups(root, [](FileGroup&) {}, [&](FileGroup& group) {
      std::erase_if(group.subGroups, [&](const std::unique_ptr<FileGroup>& sub) {
        return sub->files.empty() && sub->subGroups.empty() && emptied.count(sub.get()) > 0 &&
               subprojectGroups.count(sub.get()) == 0;
      });
    });
  }

  // NAME%tail names a project's folder followed by the tail; then variables
  // and maps; any other path relative to nothing is taken from the build
  // folder, where the compiler runs; and each path is kept once. What is
  // left of variables is counted in the paths that are kept.
  void finishIncludePaths() {
    const std::string build = buildFolder();
    std::vector<std::string>& paths = root.includePaths;
    paths.reserve(paths.size() + includes.size());
    for (auto& value : includes) {
      std::string path = std::move(value);
      const std::size_t percent = path.find('%');
      const bool inProject = percent != std::string::npos;
      if (inProject) path = projectFolder(path.substr(0, percent)) + path.substr(percent + 1);
      variables().expandInPlace(path);
      bool placed = inProject;  // where a project or a -map put it
      if (!options.maps.empty()) {
        std::string rewritten = mapped(path, options.maps);
        placed = placed || rewritten != path;
        path = std::move(rewritten);
      }
      if (path.empty()) continue;
      if (!placed && !path::isAbsolute(path) && path.find("$(") == std::string::npos) {
        path = path::comparable(path, build);
      }
      paths.push_back(std::move(path));
    }
    includes.clear();
    dropRepeats(paths);
    for (const auto& path : paths) variables().countLeft(path, VariableExpander::IncludePath);
  }

  // The chosen build spec's build folder: its redirDir, relative to the
  // project folder, named like the build spec when the file gives none.
  std::string buildFolder() const {
    if (result.spec.empty()) return in.projectFolder;
    std::string folder = result.spec;
    for (const auto& redirect : facts.outputFolders) {
      if (redirect.spec == result.spec && !redirect.value.empty()) folder = redirect.value;
    }
    return path::isAbsolute(folder) ? folder : in.projectFolder + sep + folder;
  }

  // Keeps the first of each run of equal texts, in order.
  static void dropRepeats(std::vector<std::string>& texts) {
    const std::vector<bool> repeated = repeatedItems(
        texts.size(), [&](std::size_t i) { return std::hash<std::string>{}(texts[i]); },
        [&](std::size_t i, std::size_t j) { return texts[i] == texts[j]; });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < texts.size(); ++i) {
      if (repeated[i]) continue;
      if (kept != i) texts[kept] = std::move(texts[i]);
      ++kept;
    }
    texts.resize(kept);
  }

  // Each name is looked for once: include lists may name projects a hundred
  // thousand times.
  std::string projectFolder(const std::string& name) {
    if (name == in.projectName) return in.projectFolder;
    const std::string_view known = projectFolders.get(name);
    if (!known.empty()) return std::string(known);
    const auto found = locator->find(name, name);
    const std::string folder = found ? *found : in.workspaceDir + sep + name;
    projectFolders.set(name, folder);
    return folder;
  }

  // A value both languages share is counted once.
  void expandMacroValues() {
    for (auto& [name, value] : result.cMacros) {
      value = variables().expand(value);
      variables().countLeft(value, VariableExpander::MacroValue);
    }
    for (auto& [name, value] : result.cxxMacros) {
      value = variables().expand(value);
      const auto same = result.cMacros.find(name);
      if (same == result.cMacros.end() || same->second != value) {
        variables().countLeft(value, VariableExpander::MacroValue);
      }
    }
  }

  // Made once the build spec is known: BUILD_SPEC is among Workbench's own.
  VariableExpander& variables() {
    if (!expander) {
      VariableValues workbench{
          {"PRJ_ROOT_DIR", in.projectFolder},
          {"WS_ROOT_DIR", path::comparable(in.workspaceDir, in.currentDirectory)}};
      if (!result.spec.empty()) workbench.emplace_back("BUILD_SPEC", result.spec);
      expander.emplace(options.variables, buildMacros, in.environment, workbench);
    }
    return *expander;
  }

  void warn() {
    for (const auto& left : variables().left()) note(leftNote(left));
    if (!missingLinks.empty()) {
      Note links{NoteKind::LinkedResourcesLeftOut, in.projectName};
      links.names = missingLinks;
      note(std::move(links));
    }
    if (locator->searchCutShort()) {
      Note cut{NoteKind::SearchCutShort};
      cut.number = ProjectLocator::kMaxFolders;
      note(std::move(cut));
    }
    bool anyFile = false;
    walkGroups(root, [&](const FileGroup& g) { anyFile = anyFile || !g.files.empty(); },
               [](const FileGroup&) {});
    if (!anyFile) note({NoteKind::NoSourceFile});
  }

  void note(Note n) const {
    if (in.notes) in.notes(std::move(n));
  }

  // Why a variable reference was left in texts, and in how many.
  static Note leftNote(const VariableExpander::Left& left) {
    Note n(NoteKind::UnresolvedVariable, left.name);
    n.counts[0] = left.count[0];
    n.counts[1] = left.count[1];
    switch (left.reason) {
      case VariableExpander::Reason::Unresolved: break;
      case VariableExpander::Reason::RefersToItself: n.kind = NoteKind::VariableRefersToItself; break;
      case VariableExpander::Reason::TooDeep:
        n.kind = NoteKind::VariableTooDeep;
        n.number = VariableExpander::kMaxDepth;
        break;
      case VariableExpander::Reason::TooLong:
        n.kind = NoteKind::VariableTooLong;
        n.number = VariableExpander::kMaxTextSize >> 20;
        n.number2 = VariableExpander::kMaxGrowth >> 20;
        break;
      case VariableExpander::Reason::Malformed: n.kind = NoteKind::MalformedReference; break;
    }
    return n;
  }

  FileGroup& root;
  const RealProjectInputs& in;
  const RealProjectOptions& options;
  RealProjectResult& result;
  WorkbenchFacts facts;
  std::vector<OwnedBuildStatement> statements;  // waiting for the build spec to be known
  std::vector<std::string> specs;               // the build spec names seen, in order
  std::set<std::string> seenSpecs;
  std::string lastSpec;
  LookupTable buildMacros;
  LookupTable projectFolders;
  std::vector<std::pair<std::string, std::string>> subprojects;  // name, path
  std::vector<std::string> includes;
  std::vector<std::string> cCommands;  // of the chosen build spec, in file order
  std::set<std::string> excluded;  // comparable paths of folders not scanned as own sources
  std::optional<ProjectLocator> locator;
  std::optional<VariableExpander> expander;
  std::set<const FileGroup*> subprojectGroups;  // the groups of referenced projects
  std::vector<std::string> missingLinks;        // names of links left out
  std::size_t ownSources[3] = {0, 0, 0};        // the own files, by SourceLanguage
  bool cCommandDefinesNone = true;
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
