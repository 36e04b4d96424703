#include "reading/group_tree.h"

#include "platform/platform.h"

namespace {

constexpr auto npos = std::string::npos;

// Whether a project path climbs out of the workspace through a ".." part.
// Workbench writes none; a crafted one such as /Lib/../../../.. would make
// the scan list the whole disk into the project.
bool leavesWorkspace(std::string_view projectPath) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = projectPath.find_first_of(std::string_view("/\\"), start);
    if (projectPath.substr(start, end == npos ? npos : end - start) == "..") return true;
    if (end == npos) return false;
    start = end + 1;
  }
}

std::string lookUp(const LookupTable& table, std::string_view name) {
  return std::string(table.get(name));
}

// Replaces every $(X) in `value` by build macro X (empty when unknown).
std::string expandReferences(const std::string& value, const LookupTable& buildMacros) {
  std::string result;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = value.find("$(", pos);
    const std::size_t close = open == npos ? npos : value.find(')', open + 2);
    if (close == npos) {
      result.append(value, pos, npos);
      return result;
    }
    result.append(value, pos, open - pos);
    result += lookUp(buildMacros, value.substr(open + 2, close - open - 2));
    pos = close + 1;
  }
}

// Calls `use` with the text after each "-D" up to the next space.
template <typename Use>
void forEachDefinition(const std::string& text, Use use) {
  std::size_t pos = text.find("-D");
  while (pos != npos) {
    const std::size_t start = pos + 2;
    const std::size_t space = text.find(' ', start);
    use(text.substr(start, space == npos ? npos : space - start));
    if (space == npos) return;
    pos = text.find("-D", space);
  }
}

}  // namespace

GroupTreeBuilder::GroupTreeBuilder(FileGroup& root, const std::string& workspaceDir,
                                   const std::vector<std::string>& referencedProjects,
                                   const FolderScan& scan)
    : root(root), workspaceDir(workspaceDir), referencedProjects(referencedProjects), scan(scan) {}

void GroupTreeBuilder::add(const BuildStatement& statement) {
  switch (statement.kind) {
    case BuildStatement::SubprojectList:
      // The only place where the root group receives files.
      scan.scan(workspaceDir, root, false);
      break;
    case BuildStatement::Subproject: addSubproject(statement.text); break;
    case BuildStatement::Include: addInclude(statement.text); break;
    case BuildStatement::BuildMacro: buildMacros.set(statement.text, statement.value); break;
    case BuildStatement::CompilerCommand: addCompilerCommand(statement.text); break;
  }
}

// Every referenced project whose name occurs anywhere in the path gets a
// group of its own for the folder.
void GroupTreeBuilder::addSubproject(std::string_view projectPath) {
  for (const std::string& name : referencedProjects) {
    if (projectPath.find(name) == npos) continue;
    std::string folder = workspaceDir + platform::separator;
    folder += projectPath;
    projectFolders.set(name, folder);
    auto group = std::make_unique<FileGroup>(name);
    if (!leavesWorkspace(projectPath)) scan.scan(folder, *group, true);
    root.subGroups.push_back(std::move(group));
  }
}

// A value NAME%tail names a project's folder (or the workspace's folder of
// that name) followed by the tail.
void GroupTreeBuilder::addInclude(std::string_view value) {
  const std::size_t percent = value.find('%');
  if (percent == npos) {
    root.includePaths.emplace_back(value);
    return;
  }
  const std::string_view key = value.substr(0, percent);
  std::string path(projectFolders.get(key));
  if (path.empty()) {
    path = workspaceDir + platform::separator;
    path += key;
  }
  path += value.substr(percent + 1);
  root.includePaths.push_back(std::move(path));
}

void GroupTreeBuilder::addCompilerCommand(std::string_view text) {
  const std::string command(text);
  forEachDefinition(command, [&](const std::string& token) { defineFromCommand(token); });
  if (command.find("$(DEFINES)") != npos) {
    forEachDefinition(lookUp(buildMacros, "DEFINES"),
                      [&](const std::string& token) { defineFromDefines(token); });
  }
}

void GroupTreeBuilder::define(const std::string& name, const std::string& value) {
  if (!name.empty()) root.macros[name] = value;
}

// A token of the command itself: $(NAME) takes build macro NAME's value,
// NAME=VALUE has the references in its value resolved, and any other token
// holding a reference cannot be read.
void GroupTreeBuilder::defineFromCommand(const std::string& token) {
  const bool isReference = token.starts_with("$(") && token.size() > 2 && token.back() == ')' &&
                           token.find(')') == token.size() - 1;
  if (isReference) {
    const std::string name = token.substr(2, token.size() - 3);
    define(name, lookUp(buildMacros, name));
    return;
  }
  const std::size_t equals = token.find('=');
  if (equals != npos) {
    define(token.substr(0, equals), expandReferences(token.substr(equals + 1), buildMacros));
  } else if (token.find("$(") == npos) {
    define(token, "");
  }
}

// A token of the DEFINES build macro, where "$(" means nothing special.
void GroupTreeBuilder::defineFromDefines(const std::string& token) {
  const std::size_t equals = token.find('=');
  if (equals == npos) define(token, "");
  else define(token.substr(0, equals), token.substr(equals + 1));
}

void buildGroupTree(std::istream& in, FileGroup& root, const std::string& workspaceDir,
                    const std::vector<std::string>& referencedProjects, const FolderScan& scan) {
  BuildSettingsReader reader(in);
  GroupTreeBuilder builder(root, workspaceDir, referencedProjects, scan);
  BuildStatement statement;
  while (reader.next(statement)) builder.add(statement);
}
