#include "reading/real_project.h"

#include <algorithm>
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

// The spec a keyed entry is for: the last part of Incl|SPEC,
// Macro|NAME|value|SPEC and Tool|C-Compiler|cmd|SPEC; empty for none.
std::string_view specOf(std::string_view key) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = key.find('|', start);
    parts.push_back(key.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) break;
    start = bar + 1;
  }
  if (parts[0] == "Incl" && parts.size() >= 2) return parts[1];
  if ((parts[0] == "Macro" || parts[0] == "Tool") && parts.size() >= 4) return parts[3];
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
    chooseSpec();
    const BuildTarget* target = chooseTarget();
    replay();
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
  // mode reads. The spec to read may be named anywhere in the file, so the
  // statements wait until it is known.
  void read(std::istream& stream) {
    WorkbenchFactsReader factsReader(facts);
    BuildSettingsReader reader(stream);
    reader.watchLines([&](std::string_view line) { factsReader.line(line); });
    BuildStatement statement;
    while (reader.next(statement)) {
      statements.push_back({statement.kind, std::string(statement.key),
                            decodeEntities(statement.text), decodeEntities(statement.value)});
    }
  }

  void chooseSpec() {
    std::vector<std::string> known = facts.specs;
    for (const auto& statement : statements) {
      const std::string spec(specOf(statement.key));
      if (!spec.empty()) known.push_back(spec);
    }
    for (const auto& entry : facts.defines) known.push_back(entry.spec);
    std::set<std::string> seen;
    std::erase_if(known, [&](const std::string& s) { return s.empty() || !seen.insert(s).second; });
    specs = known;
    if (!options.spec.empty()) {
      if (seen.count(options.spec) == 0) {
        throw Failure(FailureKind::UnknownBuildSpec, options.spec + " (known: " + listed(known) + ")");
      }
      result.spec = options.spec;
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

  void replay() {
    for (const auto& statement : statements) {
      if (!forChosenSpec(specOf(statement.key))) continue;
      switch (statement.kind) {
        case BuildStatement::SubprojectList: in.scan.scan(in.workspaceDir, root, false); break;
        case BuildStatement::Subproject: noteSubproject(statement.text); break;
        case BuildStatement::Include: includes.push_back(statement.text); break;
        case BuildStatement::BuildMacro: buildMacros.set(statement.text, statement.value); break;
        case BuildStatement::CompilerCommand:
          defineFromCompilerCommand(statement.text, buildMacros, root.macros, true);
          result.cCompiler = statement.text;
          break;
      }
    }
    for (const auto& command : facts.cxxCommands) {
      if (forChosenSpec(command.spec)) result.cxxCompiler = command.value;
    }
    statements.clear();
    statements.shrink_to_fit();
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
      const std::string candidate = in.workspaceDir + sep + path;
      const bool climbsOut = comparablePath(path, ".").starts_with("..");
      const auto folder = locator->find(name, climbsOut ? std::string() : candidate);
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
  // folder;
  // and each path is kept once. Unresolved variables are counted in the
  // paths that are kept.
  void finishIncludePaths() {
    std::set<std::string> seen;
    for (const auto& value : includes) {
      std::string path = value;
      const std::size_t percent = value.find('%');
      const bool inProject = percent != std::string::npos;
      if (inProject) path = projectFolder(value.substr(0, percent)) + value.substr(percent + 1);
      path = variables().expand(path);
      std::string rewritten = mapped(path, options.maps);
      // A path a project or a -map placed is where it was put.
      const bool placed = inProject || rewritten != path;
      path = std::move(rewritten);
      if (path.empty()) continue;
      if (!placed && !isAbsolutePath(path) && path.find("$(") == std::string::npos) {
        path = in.projectFolder + sep + path;
      }
      if (!seen.insert(path).second) continue;
      variables().countUnresolved(path, VariableExpander::IncludePath);
      root.includePaths.push_back(std::move(path));
    }
  }

  std::string projectFolder(const std::string& name) {
    if (name == in.projectName) return in.projectFolder;
    std::string folder(projectFolders.get(name));
    if (!folder.empty()) return folder;
    if (const auto found = locator->find(name, in.workspaceDir + sep + name)) return *found;
    return in.workspaceDir + sep + name;
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
  std::vector<OwnedBuildStatement> statements;
  std::vector<std::string> specs;
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
