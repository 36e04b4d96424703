#include "driver/workspace_run.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "building/workspace_projects.h"
#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/input_file.h"
#include "driver/normalise_path.h"
#include "driver/ordered_pool.h"
#include "driver/project_reading.h"
#include "driver/run_files.h"
#include "model/failure.h"
#include "platform/platform.h"
#include "text/path.h"
#include "writing/json_text.h"
#include "writing/make_directory.h"
#include "writing/output_lines.h"
#include "writing/pending_files.h"
#include "writing/project_writer.h"

namespace {

constexpr const char* kDatabaseName = "compile_commands.json";

// What one project's run left: its lines, and how it ended.
struct Outcome {
  std::string text;
  bool converted = false;
  std::size_t warnings = 0;
  std::string failure;  // the last line of a failed run
  // The files its database enters for its sub-projects, as it writes them.
  std::vector<std::string> othersFiles;
};

// The files of the sub-projects' groups, made absolute as the database
// makes them.
std::vector<std::string> othersFilesOf(const RealProjectResult& real) {
  std::string current;
  platform::currentDirectory(current);
  std::vector<std::string> files;
  for (const auto& subproject : real.subprojects) {
    walkGroups(
        *subproject.group,
        [&](const FileGroup& group) {
          for (const auto& file : group.files) files.push_back(normalisePath(file, current));
        },
        [](const FileGroup&) {});
  }
  return files;
}

// The options one project is converted with: its own files and folder, the
// given ones (its own -spec, -target and -var among them), and its own
// database beside its project file, which the run's database merges.
ConversionOptions optionsFor(const WorkspaceProject& project, const ConversionOptions& given,
                             const std::vector<std::string>& args,
                             std::optional<Failure>& failure) {
  ConversionOptions options;
  options.projectName = project.name;  // for a .project that names none; -pn still wins
  try {
    if (!applyOptions(options, argumentsFor(args, project.name))) {
      failure = Failure(FailureKind::MissingValue, args.back());
    }
  } catch (const Failure& caught) {
    failure = caught;
  }
  options.sourceProjectPath = normalisePath(path::join(project.folder, ".project"));
  options.buildSettingsPath = normalisePath(path::join(project.folder, ".wrproject"));
  options.workspaceDir = given.workspaceRun;
  options.destFolder = path::join(given.workspaceDest, project.outputName);
  options.realProject.enabled = true;
  options.compilationDatabase.clear();
  if (!given.compilationDatabase.empty()) {
    options.compilationDatabase = path::join(options.destFolder, kDatabaseName);
    options.passOver.push_back(given.compilationDatabase);
  }
  options.passOver.push_back(given.workspaceDest);
  return options;
}

Outcome convert(const WorkspaceProject& project, const ConversionOptions& given,
                const std::vector<std::string>& args) {
  Outcome outcome;
  bool unexpected = false;
  {
    const CapturedOutput capture(outcome.text);
    try {
      std::optional<Failure> failure;
      ConversionOptions options = optionsFor(project, given, args, failure);
      if (given.describe) {
        ConversionJob job(std::move(options));
        outcome.converted = job.describe(failure);
        return outcome;
      }
      if (failure) throw *failure;
      // The folder is made only for a name that stays in the destination.
      checkProjectNames(FileGroup(), project.outputName);
      makeDirectory(options.destFolder);
      const bool database = !options.compilationDatabase.empty();
      ConversionJob job(std::move(options));
      outcome.converted = job.run();
      if (outcome.converted && database) outcome.othersFiles = othersFilesOf(job.tree.real);
    } catch (const Failure& failure) {
      printLine(messageFor(failure));
    } catch (const std::bad_alloc&) {
      printLine(messageFor(Failure(FailureKind::OutOfMemory, "converting " + project.name)));
    } catch (...) {
      // What ends a single conversion quietly (a library's error) ends this
      // project alone; the summary still says that it failed.
      unexpected = true;
    }
  }
  std::size_t start = 0;
  std::string last;
  while (start < outcome.text.size()) {
    const std::size_t end = outcome.text.find('\n', start);
    last = outcome.text.substr(start, end - start);
    if (last.rfind("Warning: ", 0) == 0) ++outcome.warnings;
    start = end == std::string::npos ? outcome.text.size() : end + 1;
  }
  if (!outcome.converted) outcome.failure = unexpected ? "stopped by an unexpected error" : last;
  return outcome;
}

std::string names(const std::vector<std::string>& list) {
  std::string text;
  for (const auto& name : list) text.append(text.empty() ? "" : ", ").append(name);
  return text;
}

// The database of the projects that converted, written as every output is:
// in place only once written whole.
bool writeDatabase(const std::string& path, const std::vector<std::string>& sources,
                   const std::vector<std::vector<std::string>>& othersFiles,
                   const std::vector<std::string>& missing) {
  std::vector<std::string> databases;
  for (const auto& source : sources) {
    const auto text = readInputFile(source);
    if (!text) {
      printLine(messageFor(Failure(FailureKind::CannotOpenFile, source)));
      return false;
    }
    databases.push_back(*text);
  }
  std::size_t entries = 0;
  const std::string merged = mergedDatabase(databases, entries, othersFiles);
  try {
    PendingFiles pending;
    std::ofstream out = pending.open(path);
    out.write(merged.data(), static_cast<std::streamsize>(merged.size()));
    closeChecked(out, path);
    pending.commit();
  } catch (const Failure& failure) {
    printLine(messageFor(failure));
    return false;
  }
  std::string line = "Compilation database: " + std::to_string(entries) + " entries of " +
                     std::to_string(sources.size()) + (sources.size() == 1 ? " project" : " projects");
  if (!missing.empty()) line += ", without the projects that failed: " + names(missing);
  printLine(line);
  return true;
}

// A text of the description, with the bytes that are no UTF-8 as "?".
std::string jsonText(const std::string& text) {
  std::string json;
  if (jsonOf(text, json)) return json;
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) >= 0x80) c = '?';
  }
  jsonOf(shown, json);
  return json;
}

// The workspace's description: each project's own document, indented into
// the list.
std::string workspaceJson(const ConversionOptions& given,
                          const std::vector<WorkspaceProject>& projects,
                          const std::vector<Outcome>& outcomes,
                          const std::vector<std::string>& warnings,
                          const std::optional<std::string>& failure) {
  std::string json = "{\n  \"version\": 1,\n  \"mode\": \"workspace\",\n  \"workspace\": ";
  json += jsonText(given.workspaceRun) + ",\n  \"destination\": " + jsonText(given.workspaceDest);
  json += ",\n  \"projects\": [";
  for (std::size_t i = 0; i < projects.size(); ++i) {
    json += i == 0 ? "\n" : ",\n";
    json += "    {\n      \"name\": " + jsonText(projects[i].name);
    json += ",\n      \"folder\": " + jsonText(projects[i].folder);
    json += ",\n      \"output\": " + jsonText(path::join(given.workspaceDest, projects[i].outputName));
    json += ",\n      \"description\": ";
    std::string document = outcomes[i].text;
    while (!document.empty() && document.back() == '\n') document.pop_back();
    for (std::size_t at = document.find('\n'); at != std::string::npos;
         at = document.find('\n', at + 1)) {
      document.insert(at + 1, "      ");
    }
    json += document + "\n    }";
  }
  json += projects.empty() ? "]" : "\n  ]";
  json += ",\n  \"warnings\": [";
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    json += (i == 0 ? "" : ", ") + jsonText(warnings[i]);
  }
  json += "],\n  \"failure\": " + (failure ? jsonText(*failure) : std::string("null")) + "\n}\n";
  return json;
}

}  // namespace

std::vector<std::string> argumentsFor(const std::vector<std::string>& args,
                                      const std::string& project) {
  std::vector<std::string> kept;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const bool byProject = i > 0 && i + 1 < args.size() &&
                           (args[i] == "-spec" || args[i] == "-target" || args[i] == "-var");
    const std::string& value = byProject ? args[i + 1] : args[i];
    const std::size_t colon = value.find(':');
    if (!byProject || colon == std::string::npos ||
        (args[i] == "-var" && colon > value.find('='))) {
      kept.push_back(args[i]);
      continue;
    }
    if (value.compare(0, colon, project) == 0 && colon == project.size()) {
      kept.push_back(args[i]);
      kept.push_back(value.substr(colon + 1));
    }
    ++i;
  }
  return kept;
}

std::string mergedDatabase(const std::vector<std::string>& databases, std::size_t& entries,
                           const std::vector<std::vector<std::string>>& othersFiles) {
  // An entry runs from "  {" to "\n  }": a JSON string holds no raw line
  // feed, so nothing inside one ends it, and its "file" is one line. The
  // entries are seen in place, not copied: a workspace's databases run to
  // tens of megabytes.
  struct Chosen {
    std::string_view entry;
    bool own;
  };
  std::unordered_map<std::string, Chosen> chosen;  // by the file's comparable path
  std::vector<const Chosen*> order;                // the files in the order first met
  std::size_t total = 0;
  for (std::size_t i = 0; i < databases.size(); ++i) {
    total += databases[i].size();
    std::unordered_set<std::string> others;
    if (i < othersFiles.size()) {
      for (const auto& file : othersFiles[i]) others.insert(path::comparable(file, ""));
    }
    const std::string_view text = databases[i];
    for (std::size_t start = text.find("\n  {"); start != std::string_view::npos;) {
      const std::size_t end = text.find("\n  }", start + 1);
      if (end == std::string_view::npos) break;
      const std::string_view entry = text.substr(start + 1, end + 3 - start);
      start = text.find("\n  {", end);
      const std::optional<std::string> file = fileOfEntry(entry);
      // An entry without a file stands for itself.
      std::string key = file ? path::comparable(*file, "") : "\n" + std::string(entry);
      const bool own = !others.contains(key);
      const auto [found, isNew] = chosen.try_emplace(std::move(key), Chosen{entry, own});
      if (isNew) order.push_back(&found->second);
      else if (own && !found->second.own) found->second = {entry, true};
    }
  }
  std::string merged = "[";
  merged.reserve(total + 4);
  entries = 0;
  for (const Chosen* one : order) {
    merged += entries++ == 0 ? "\n" : ",\n";
    merged += one->entry;
  }
  merged += entries == 0 ? "]\n" : "\n]\n";
  return merged;
}

std::optional<std::string> fileOfEntry(std::string_view entry) {
  constexpr std::string_view kFile = "\n    \"file\": \"";
  const std::size_t at = entry.find(kFile);
  if (at == std::string_view::npos) return std::nullopt;
  std::string file;
  for (std::size_t i = at + kFile.size(); i < entry.size(); ++i) {
    const char c = entry[i];
    if (c == '"') return file;
    if (c != '\\' || i + 1 == entry.size()) {
      file += c;
      continue;
    }
    const char escaped = entry[++i];
    switch (escaped) {
      case 'b': file += '\b'; break;
      case 'f': file += '\f'; break;
      case 'n': file += '\n'; break;
      case 'r': file += '\r'; break;
      case 't': file += '\t'; break;
      case 'u': {  // the writer writes only control characters so
        unsigned value = 0;
        std::size_t digits = 0;
        for (; digits < 4 && i + 1 + digits < entry.size(); ++digits) {
          const char h = entry[i + 1 + digits];
          const int digit = h >= '0' && h <= '9'   ? h - '0'
                            : h >= 'a' && h <= 'f' ? h - 'a' + 10
                            : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                   : -1;
          if (digit < 0) break;
          value = value * 16 + static_cast<unsigned>(digit);
        }
        if (digits < 4 || value > 0x7f) {
          file += "\\u";  // not the writer's: kept as written
          break;
        }
        file += static_cast<char>(value);
        i += 4;
        break;
      }
      default: file += escaped;  // '"', '\\', '/'
    }
  }
  return std::nullopt;
}

std::vector<WorkspaceProject> chosenProjects(const std::vector<WorkspaceProject>& projects,
                                             const std::vector<std::string>& names) {
  if (names.empty()) return projects;
  const auto named = [](const WorkspaceProject& project, const std::string& name) {
    return project.name == name || project.outputName == name;
  };
  for (const std::string& name : names) {
    if (std::any_of(projects.begin(), projects.end(),
                    [&](const WorkspaceProject& project) { return named(project, name); }))
      continue;
    // The known names, so a typing slip shows at once; a long list is cut.
    std::vector<std::string> known;
    for (std::size_t i = 0; i < projects.size() && i < 20; ++i) known.push_back(projects[i].outputName);
    if (projects.size() > 20) known.push_back("...");
    throw Failure(FailureKind::InvalidValue, "-project",
                  {name, "a project of the workspace: " + ::names(known)});
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

// The projects of the workspace, and the destination made; or the failure
// that ends the whole run before any project.
std::vector<WorkspaceProject> findProjects(const ConversionOptions& given,
                                           std::vector<std::string>& warnings) {
  checkWorkspace(given.workspaceRun);
  PassOver passOver;
  platform::currentDirectory(passOver.base);
  passOver.add(given.workspaceDest);
  if (!given.compilationDatabase.empty()) passOver.add(given.compilationDatabase);
  WorkspaceSearch search =
      findWorkspaceProjects(given.workspaceRun, systemFolderLister(), readProjectName, passOver);
  if (search.cutShort) {
    warnings.push_back("Warning: the workspace search stopped at " +
                       std::to_string(ProjectLocator::kMaxDepth) + " levels or " +
                       std::to_string(ProjectLocator::kMaxFolders) +
                       " folders; projects beyond were not looked for");
  }
  if (search.projects.empty()) throw Failure(FailureKind::NoWorkbenchProject, given.workspaceRun);
  std::vector<WorkspaceProject> chosen = chosenProjects(search.projects, given.projects);
  if (!given.describe) makeDirectory(given.workspaceDest);
  return chosen;
}

std::string summaryLine(const WorkspaceProject& project, const Outcome& outcome) {
  if (!outcome.converted) return project.outputName + ": failed: " + outcome.failure;
  if (outcome.warnings == 0) return project.outputName + ": converted";
  return project.outputName + ": converted with " + std::to_string(outcome.warnings) +
         (outcome.warnings == 1 ? " warning" : " warnings");
}

// The summary, and the database of the projects that converted; false when
// that could not be written.
bool finish(const ConversionOptions& given, const std::vector<WorkspaceProject>& projects,
            const std::vector<Outcome>& outcomes, const std::vector<std::string>& warnings) {
  std::vector<std::string> databases;
  std::vector<std::vector<std::string>> othersFiles;
  std::vector<std::string> missing;
  for (std::size_t i = 0; i < projects.size(); ++i) {
    if (!outcomes[i].converted) {
      missing.push_back(projects[i].outputName);
    } else {
      databases.push_back(
          path::join(path::join(given.workspaceDest, projects[i].outputName), kDatabaseName));
      othersFiles.push_back(outcomes[i].othersFiles);
    }
  }
  printLine("Workspace: " + std::to_string(databases.size()) + " of " +
            std::to_string(projects.size()) + " projects converted");
  for (std::size_t i = 0; i < projects.size(); ++i) printLine(summaryLine(projects[i], outcomes[i]));
  for (const auto& warning : warnings) printLine(warning);
  if (given.compilationDatabase.empty()) return true;
  return writeDatabase(given.compilationDatabase, databases, othersFiles, missing);
}

}  // namespace

int runWorkspace(const std::vector<std::string>& args) {
  ConversionOptions given;
  std::optional<Failure> failure;
  std::vector<WorkspaceProject> projects;
  std::vector<std::string> warnings;
  try {
    if (!applyOptions(given, args)) throw Failure(FailureKind::MissingValue, args.back());
    projects = findProjects(given, warnings);
  } catch (const Failure& caught) {
    failure = caught;
  }
  std::vector<Outcome> outcomes(projects.size());
  const unsigned jobs = given.jobs == 0 ? processorCount() : given.jobs;
  if (!given.describe && !failure) platform::catchInterrupts();
  runInOrder(
      projects.size(), jobs, !given.describe,
      [&](std::size_t i) { outcomes[i] = convert(projects[i], given, args); },
      [&](std::size_t i) {
        if (given.describe) return;
        printLine("Project " + std::to_string(i + 1) + " of " + std::to_string(projects.size()) +
                  ": " + projects[i].outputName + " (" + projects[i].folder + ")");
        printText(outcomes[i].text);
      });
  const bool allConverted = std::all_of(outcomes.begin(), outcomes.end(),
                                        [](const Outcome& outcome) { return outcome.converted; });
  if (given.describe) {
    const std::optional<std::string> failed =
        failure ? std::optional<std::string>(messageFor(*failure)) : std::nullopt;
    printText(workspaceJson(given, projects, outcomes, warnings, failed));
    return failure || !allConverted ? 1 : 0;
  }
  if (failure) {
    printLine(messageFor(*failure));
    return 1;
  }
  const bool written = finish(given, projects, outcomes, warnings);
  return allConverted && written ? 0 : 1;
}
