// The command line's options: what a conversion is asked to do, and the one
// table of options (options.def) that the parser, the usage text, the
// manual page and the fuzzer's dictionary are made from.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "building/real_project.h"
#include "driver/absolute_path.h"

enum class OptionId {
#define PLOVIK_OPTION(id, name, value, kind, mode, empty, form) id,
#include "driver/options.def"
#undef PLOVIK_OPTION
};

// A -pn, -spec, -target or -var as given. The value of the last three may
// begin with "PROJECT:" (for -var, the colon before the "="): a workspace
// run then applies it to the project named PROJECT alone.
struct ProjectSetting {
  OptionId option;                     // ProjectName, Spec, Target or Variable
  std::optional<std::string> project;  // none: every project
  std::string value;                   // without the prefix
};

// Everything a conversion is given: the four positional paths (the first,
// second and fourth made absolute, the workspace as typed) and the options.
struct ConversionOptions {
  // The folder the run started in, read once (empty: none could be read):
  // every path of the run is made absolute against it.
  std::string currentDirectory = currentFolder();
  std::string sourceProjectPath;
  std::string buildSettingsPath;
  std::string workspaceDir;
  std::string destFolder;
  std::string projectName;  // -pn: used only when the .project names none
  std::string messagePersonality;   // -mp, made absolute; empty: none
  std::string analyserPersonality;  // -ap, likewise
  std::string compilerPersonality;  // -cp, likewise
  std::vector<std::string> fileExtensions;  // -ext; empty: every file
  RealProjectOptions realProject;   // -wb and the options that refine it
  std::string compilationDatabase;  // -cdb FILE, absolute; empty: none is written
  bool describe = false;            // -describe: describe the run instead of doing it
  // -workspace WORKSPACE DEST: every project of WORKSPACE into DEST/<name>;
  // the workspace as typed, DEST made absolute. Empty: one project.
  std::string workspaceRun;
  std::string workspaceDest;
  unsigned jobs = 0;  // -j N: projects converted at once; 0: one per processor
  // -project NAME, repeatable: a workspace run converts only these projects
  // (by name or output folder). Empty: every project.
  std::vector<std::string> projects;
  // Further paths the scans pass over: a workspace run's destination and
  // database, which another project's run writes.
  std::vector<std::string> passOver;
  // Every -pn, -spec, -target and -var in command-line order, for the
  // workspace run's projects.
  std::vector<ProjectSetting> projectSettings;
};

enum class OptionKind { Classic, Checked, Pair, Flag };
enum class OptionMode { ModeOn, ModeKept };
enum class OptionEmpty { EmptyTaken, EmptyRefused };

struct OptionSpec {
  OptionId id;
  std::string_view name;   // as typed: "-pn"
  std::string_view value;  // what the usage text calls its value; empty for a flag;
                           // a pair's two, apart by a space
  OptionKind kind;
  OptionMode mode;    // whether giving it switches the real-project mode on
  OptionEmpty empty;  // whether an empty value is a value or a missing one
  std::string_view form;  // a malformed value's failure names it: "NAME=VALUE"
};

// Every option, in the order of options.def.
std::span<const OptionSpec> optionTable();

// Whether `args` (after the program name) hold the option `id` anywhere.
bool holdsOption(const std::vector<std::string>& args, OptionId id);

// Appends the comma-separated parts of `value` to `extensions`, empty parts
// and all.
void addFileExtensions(std::vector<std::string>& extensions, const std::string& value);

// Applies every option in `args` (args[0] is the program name; positional
// arguments are visited too, and so is each value). False when a Classic
// option is the last argument and so has no value. Throws Failure
// MissingValue or InvalidValue for a Checked option's fault, naming it.
bool applyOptions(ConversionOptions& options, const std::vector<std::string>& args);

// Makes a workspace run's `options` those of its project `project`: its
// name for a .project that names none (unless -pn gives one), and the
// -spec, -target and -var meant for it or for all, in command-line order,
// the last -pn, -spec and -target winning. Throws Failure MissingValue for a
// -spec or -target left empty by its prefix, InvalidValue for a -var that
// is then no NAME=VALUE; what came before it stays taken. A prefix names the
// project by its name or, when given, its output folder, letter case and
// all, as -project does.
void takeProjectSettings(ConversionOptions& options, const std::string& project,
                         const std::string& outputFolder = {});
