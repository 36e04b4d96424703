#include "reading/real_project.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>

#include "model/failure.h"
#include "platform/platform.h"
#include "reading/build_settings.h"
#include "reading/build_targets.h"
#include "reading/compiler_defines.h"
#include "reading/lookup_table.h"
#include "reading/path_text.h"
#include "reading/workbench_facts.h"

namespace {

constexpr char sep = platform::separator;

// The build spec a keyed entry is for: the last part of Incl|SPEC,
// Macro|NAME|value|SPEC and Tool|C-Compiler|cmd|SPEC; empty for none.
std::string_view specOf(std::string_view key) {
  const auto part = [&](std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
      start = key.find('|', start);
      if (start == std::string_view::npos) return std::string_view();
      ++start;
    }
    return key.substr(start, key.find('|', start) - start);
  };
  const std::string_view first = key.substr(0, key.find('|'));
  if (first == "Incl") return part(1);
  if (first == "Macro" || first == "Tool") return part(3);
  return {};
}

// Names joined for a message, the first few only: a file may hold thousands.
std::string listed(const std::vector<std::string>& names) {
  if (names.empty()) return "none";
  std::string text;
  constexpr std::size_t shown = 20;
  for (std::size_t i = 0; i < names.size() && i < shown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
  return text;
}

std::string counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

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
                     const RealProjectOptions& options)
      : root(root), in(inputs), options(options) {}

  RealProjectResult build(std::istream& stream) {
    read(stream);
    const BuildTarget* target = chooseTarget();
    addSubprojects();
    addOwnSources(target);
    addDefinesLists();
    finishIncludePaths();
    expandMacroValues();
    warn();
    return std::move(result);
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
      const std::string_view spec = specOf(statement.key);
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
    if (!options.spec.empty()) {
      if (seen.count(options.spec) == 0) {
        throw Failure(FailureKind::UnknownBuildSpec, options.spec + " (known: " + listed(known) + ")");
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
    throw Failure(FailureKind::UnknownBuildTarget, options.target + " (known: " + listed(names) + ")");
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
        defineFromCompilerCommand(text, buildMacros, root.macros, true);
        // The statement's text is the attribute from its `value="` on.
        result.cCompiler = text.starts_with("value=\"") ? text.substr(7) : std::move(text);
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
      if (!folder) {
        result.warnings.push_back("Warning: referenced project " + name +
                                  " not found in the workspace");
        continue;
      }
      projectFolders.set(name, *folder);
      excluded.insert(comparablePath(*folder, in.currentDirectory));
      auto group = std::make_unique<FileGroup>(name);
      in.scan.scan(*folder, *group, true);
      root.subGroups.push_back(std::move(group));
    }
  }

  // The project's own folder, like a sub-project, without its build output,
  // folders named like a build spec, .metadata and sub-project folders.
  void addOwnSources(const BuildTarget* target) {
    for (const auto& folder : facts.outputFolders) {
      excluded.insert(comparablePath(in.projectFolder + sep + folder.value, in.currentDirectory));
    }
    const std::set<std::string> specNames(specs.begin(), specs.end());
    FolderScan own = in.scan;
    own.skipFolder = [&](const std::string& folder) {
      const std::string name = folder.substr(folder.find_last_of("/\\") + 1);
      return name == ".metadata" || specNames.count(name) > 0 ||
             excluded.count(comparablePath(folder, in.currentDirectory)) > 0;
    };
    FileGroup sources;
    own.scan(in.projectFolder, sources, true);

    const TargetFilter filter(facts.targets, target, in.projectName);
    const std::size_t base = in.projectFolder.size() + 1;
    std::set<std::string> already;  // the root's files, so that none is listed twice
    for (const auto& file : root.files) already.insert(comparablePath(file, in.currentDirectory));
    walkGroups(
        sources,
        [&](FileGroup& group) {
          std::erase_if(group.files, [&](const std::string& file) {
            return !filter.keeps(std::string_view(file).substr(base)) ||
                   (&group == &sources &&
                    already.count(comparablePath(file, in.currentDirectory)) > 0);
          });
        },
        [](FileGroup& group) {
          std::erase_if(group.subGroups, [](const std::unique_ptr<FileGroup>& sub) {
            return sub->files.empty() && sub->subGroups.empty();
          });
        });
    root.files.insert(root.files.end(), sources.files.begin(), sources.files.end());
    root.subGroups.insert(root.subGroups.begin(),
                          std::make_move_iterator(sources.subGroups.begin()),
                          std::make_move_iterator(sources.subGroups.end()));
    sources.subGroups.clear();
  }

  // Where a defines list and the compiler command both define a name, the
  // defines list wins.
  void addDefinesLists() {
    std::map<std::string, std::string> listedMacros;
    for (const auto& entry : facts.defines) {
      if (!forChosenSpec(entry.spec) || isBlank(entry.value)) continue;
      defineFromWords(shellWords(expandBuildMacros(entry.value, buildMacros, true)), listedMacros);
    }
    for (auto& [name, value] : listedMacros) root.macros[name] = std::move(value);
  }

  // NAME%tail names a project's folder followed by the tail; then variables
  // and maps; any other path relative to nothing is taken from the project
  // folder; and each path is kept once. Unresolved variables are counted in
  // the paths that are kept.
  void finishIncludePaths() {
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
      if (!placed && !isAbsolutePath(path) && path.find("$(") == std::string::npos) {
        path = in.projectFolder + sep + path;
      }
      paths.push_back(std::move(path));
    }
    includes.clear();
    dropRepeats(paths);
    for (const auto& path : paths) variables().countUnresolved(path, VariableExpander::IncludePath);
  }

  // Keeps the first of each run of equal texts, in order. Sorting hashes is
  // far cheaper than a table of the texts when there are hundreds of
  // thousands of them.
  static void dropRepeats(std::vector<std::string>& texts) {
    std::vector<std::pair<std::size_t, std::uint32_t>> order(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
      order[i] = {std::hash<std::string>{}(texts[i]), static_cast<std::uint32_t>(i)};
    }
    std::sort(order.begin(), order.end());
    std::vector<bool> repeated(texts.size(), false);
    for (std::size_t run = 0; run < order.size();) {
      std::size_t end = run + 1;
      while (end < order.size() && order[end].first == order[run].first) ++end;
      // Within a run of equal hashes (in index order), a text equal to an
      // earlier one is a repeat.
      for (std::size_t i = run + 1; i < end; ++i) {
        for (std::size_t j = run; j < i; ++j) {
          if (!repeated[order[j].second] && texts[order[j].second] == texts[order[i].second]) {
            repeated[order[i].second] = true;
            break;
          }
        }
      }
      run = end;
    }
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

  void expandMacroValues() {
    for (auto& [name, value] : root.macros) {
      value = variables().expand(value);
      variables().countUnresolved(value, VariableExpander::MacroValue);
    }
  }

  VariableExpander& variables() {
    if (!expander) expander.emplace(options.variables, buildMacros, in.environment);
    return *expander;
  }

  void warn() {
    for (const auto& missing : variables().unresolved()) {
      std::string where;
      if (missing.count[0] > 0) where = counted(missing.count[0], "include path", "include paths");
      if (missing.count[1] > 0) {
        if (!where.empty()) where += " and ";
        where += counted(missing.count[1], "macro value", "macro values");
      }
      result.warnings.push_back("Warning: unresolved variable " + missing.name + " in " + where +
                                " (give it with -var " + missing.name + "=...)");
    }
    if (locator->searchCutShort()) {
      result.warnings.push_back("Warning: the search for referenced projects stopped after " +
                                std::to_string(ProjectLocator::kMaxFolders) + " folders");
    }
    bool anyFile = false;
    walkGroups(root, [&](const FileGroup& g) { anyFile = anyFile || !g.files.empty(); },
               [](const FileGroup&) {});
    if (!anyFile) result.warnings.push_back("Warning: the project lists no source file");
  }

  FileGroup& root;
  const RealProjectInputs& in;
  const RealProjectOptions& options;
  RealProjectResult result;
  WorkbenchFacts facts;
  std::vector<OwnedBuildStatement> statements;  // waiting for the build spec to be known
  std::vector<std::string> specs;               // the build spec names seen, in order
  std::set<std::string> seenSpecs;
  std::string lastSpec;
  LookupTable buildMacros;
  LookupTable projectFolders;
  std::vector<std::pair<std::string, std::string>> subprojects;  // name, path
  std::vector<std::string> includes;
  std::set<std::string> excluded;  // comparable paths of folders not scanned as own sources
  std::optional<ProjectLocator> locator;
  std::optional<VariableExpander> expander;
};

}  // namespace

RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectInputs& inputs,
                                       const RealProjectOptions& options) {
  return RealProjectBuilder(root, inputs, options).build(in);
}
