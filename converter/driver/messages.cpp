#include "driver/messages.h"

#include <charconv>
#include <iterator>

#include "driver/options.h"

namespace {

void appendNumber(std::size_t n, std::string& out) {
  char digits[24];
  out.append(digits, std::to_chars(digits, std::end(digits), n).ptr);
}

void appendCounted(std::size_t n, const char* one, const char* many, std::string& out) {
  appendNumber(n, out);
  out.append(" ").append(n == 1 ? one : many);
}

std::string counted(std::size_t n, const char* one, const char* many) {
  std::string text;
  appendCounted(n, one, many, text);
  return text;
}

// "2 include paths and 1 macro value".
void appendWhere(const Note::LeftIn& in, std::string& out) {
  if (in.includePaths > 0) appendCounted(in.includePaths, "include path", "include paths", out);
  if (in.macroValues > 0) {
    if (in.includePaths > 0) out += " and ";
    appendCounted(in.macroValues, "macro value", "macro values", out);
  }
}

// Where the variable of a variable note was left.
const Note::LeftIn& leftIn(const Note& note) {
  switch (note.kind) {
    case NoteKind::VariableTooDeep: return note.as<Note::VariableTooDeep>().in;
    case NoteKind::VariableTooLong: return note.as<Note::VariableTooLong>().in;
    default: return note.as<Note::VariableLeft>().in;
  }
}

// Every warning's line begins so: the wizard tells a warning by it.
constexpr std::string_view kWarningPrefix = "Warning: ";

std::string warningLine(const std::string& text) {
  std::string line(kWarningPrefix);
  return line.append(text);
}

// The first few names of a list: it may hold thousands.
std::string firstNames(const std::vector<std::string>& names, std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < shown; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > shown) text += " and " + std::to_string(names.size() - shown) + " more";
  return text;
}

// The names a value may take, the first twenty of them.
std::string known(const std::vector<std::string>& names) {
  return names.empty() ? "none" : firstNames(names, 20);
}

// The build spec a note names, or all of them.
std::string specOf(const Note& note) {
  const std::string& spec = note.as<Note::OfSpec>().spec;
  return spec.empty() ? "the build description" : "build spec " + spec;
}

}  // namespace

// The first Classic option of the table ends the first line, the others
// make the second.
std::vector<std::string> usageLines() {
  std::vector<std::string> lines{
      "Usage: Plovik <source_proj> <source_wrproj> <windriver_workspace_dir> <dest_folder>", ""};
  for (const OptionSpec& option : optionTable()) {
    if (option.kind != OptionKind::Classic) continue;
    std::string& line = lines[lines[1].empty() && lines[0].ends_with('>') ? 0 : 1];
    if (!line.empty()) line += ' ';
    line.append("[").append(option.name).append(" ").append(option.value).append("]");
  }
  return lines;
}

std::string versionLine() { return "Plovik " PLOVIK_VERSION; }

std::string messageFor(const Failure& failure) {
  switch (failure.kind) {
    case FailureKind::CannotOpenFile: return "Could not open file: " + failure.subject;
    case FailureKind::UnexpectedEnd: return "WR Project file parsing encountered unexpected EOF";
    case FailureKind::UnexpectedToken:
      return "WR Project file parsing encountered unexpected token: " + failure.subject;
    case FailureKind::CannotOpenFolder: return "Could not open folder: " + failure.subject;
    case FailureKind::InvalidName: return "Invalid project name: " + failure.subject;
    case FailureKind::CannotCreateDirectory: return "Could not create directory: " + failure.subject;
    case FailureKind::CannotWriteFile: return "Could not write file: " + failure.subject;
    case FailureKind::MissingValue: return missingValueMessage(failure.subject);
    case FailureKind::InvalidValue:
      return "Invalid value for " + failure.subject + ": \"" + failure.names.at(0) + "\" (give " +
             failure.names.at(1) + ")";
    case FailureKind::UnknownBuildSpec:
      return "Unknown build spec: " + failure.subject + " (known: " + known(failure.names) + ")";
    case FailureKind::UnknownBuildTarget:
      return "Unknown build target: " + failure.subject + " (known: " + known(failure.names) + ")";
    case FailureKind::NotUtf8:
      return "Not UTF-8, cannot be written to the compilation database: " + failure.subject;
    case FailureKind::NotRegularFile: return "Not a regular file, not replaced: " + failure.subject;
    case FailureKind::NoWorkbenchProject:
      return "No Workbench project (a .project beside a .wrproject) in: " + failure.subject;
    case FailureKind::OutputIsInput:
      return "Would overwrite an input of the run: " + failure.subject;
    case FailureKind::OutputTwice:
      return "Would overwrite another output of the run: " + failure.subject;
    case FailureKind::NoTemporaryName:
      return "No free temporary name beside: " + failure.subject;
    case FailureKind::OutOfMemory: return "Out of memory while " + failure.subject;
    case FailureKind::EndOfKinds: break;
  }
  return failure.subject;
}

std::string missingValueMessage(const std::string& option) { return "Missing value for " + option; }

std::string textOf(const Note& note) {
  const std::string& subject = note.subject;
  switch (note.kind) {
    case NoteKind::CreatingProject: return "Creating Olvex/Olvex++ Project ...";
    case NoteKind::CreatingGroup: return "  Creating Group - " + subject;
    case NoteKind::CreatingAnalyserPersonality: return "  Creating Analyser Personality - " + subject;
    case NoteKind::ProjectCompleted: return "Olvex/Olvex++ Project Completed!";
    case NoteKind::GivenPersonalityUnreadable: return "Couldnt open file";
    case NoteKind::ScanningSubprojects:
      return "Scanning sub-projects: " +
             counted(note.as<Note::Counted>().count, "project", "projects");
    case NoteKind::ScanningProjectFolder: return "Scanning project folder: " + subject;
    case NoteKind::WritingCompilationDatabase:
      return "Writing compilation database: " +
             counted(note.as<Note::Counted>().count, "entry", "entries");
    case NoteKind::UnresolvedVariable:
    case NoteKind::VariableRefersToItself:
    case NoteKind::VariableTooDeep:
    case NoteKind::VariableTooLong:
    case NoteKind::MalformedReference: {
      std::string text;
      appendTextOf(note, text);
      return text;
    }
    case NoteKind::LinkedResourcesLeftOut: {
      const std::vector<std::string>& links = note.as<Note::NameList>().names;
      return warningLine(counted(links.size(), "linked resource", "linked resources") + " of " +
                         subject + " left out, location unknown or missing: " +
                         firstNames(links, 5));
    }
    case NoteKind::ProjectNotFound:
      return warningLine("referenced project " + subject + " not found in the workspace");
    case NoteKind::SubprojectsWithoutBuildDescription: {
      const std::vector<std::string>& projects = note.as<Note::NameList>().names;
      if (projects.size() == 1) {
        return warningLine("referenced project " + projects[0] +
                           " has no readable .wrproject, its files take the project's settings");
      }
      return warningLine(std::to_string(projects.size()) +
                         " referenced projects have no readable .wrproject, their files take "
                         "the project's settings: " + firstNames(projects, 5));
    }
    case NoteKind::SearchCutShort:
      return warningLine("the search for referenced projects stopped after " +
                         std::to_string(note.as<Note::Counted>().count) + " folders");
    case NoteKind::BuildTargetLoop:
      return warningLine("build targets refer to each other in a loop, not followed: " + subject);
    case NoteKind::MoreBuildTargetLoops:
      return warningLine("build targets refer to each other in " +
                         counted(note.as<Note::Counted>().count, "more loop", "more loops") +
                         ", not followed");
    case NoteKind::BuildTargetWithoutContents:
      return warningLine("build target " + subject +
                         " names no contents, so it lists no file of its own");
    case NoteKind::TooManyTargetSettings: {
      const auto& left = note.as<Note::SettingsLeftOver>();
      return warningLine(counted(left.files, "file", "files") +
                         " with settings of their own compiled with the project's: more than " +
                         std::to_string(left.sets) + " different settings");
    }
    case NoteKind::CommandTooLong:
      return warningLine("the " + subject +
                         " command names its lists too often, left as written past " +
                         std::to_string(note.as<Note::Megabytes>().megabytes) + " MB");
    case NoteKind::NoCompilingCommand:
      return warningLine("no command of the " + subject + " recipe of " + specOf(note) +
                         " can be told to compile the source; its lists are taken alone");
    case NoteKind::CompilerTakesNoLists:
      return warningLine("the command of the " + subject + " recipe of " + specOf(note) +
                         " that compiles the source takes neither its include nor its define list");
    case NoteKind::ValueSplit:
      return warningLine("the value of " + subject +
                         " holds white space and is split into words where a compile command "
                         "names it, as make splits it");
    case NoteKind::NoSourceFile: return warningLine("the project lists no source file");
    case NoteKind::LineBreakInIncludePath:
      return warningLine("line break in include path, left out of the analyser personality: " +
                         subject);
    case NoteKind::LineBreakInMacro:
      return warningLine("line break in macro, left out of the analyser personality: " + subject);
    case NoteKind::NotUtf8InDatabase:
      return warningLine("not UTF-8, left out of the compilation database: " + subject);
    case NoteKind::NotUtf8InDescription:
      return warningLine("not UTF-8, left out of the description: " + subject);
    case NoteKind::EndOfProgress:
    case NoteKind::EndOfWarnings: break;
  }
  return subject;
}

void appendTextOf(const Note& note, std::string& out) {
  const std::string& subject = note.subject;
  switch (note.kind) {
    case NoteKind::UnresolvedVariable:
      out.append(kWarningPrefix).append("unresolved variable ").append(subject).append(" in ");
      appendWhere(leftIn(note), out);
      out.append(" (give it with -var ").append(subject).append("=...)");
      return;
    case NoteKind::VariableRefersToItself:
      out.append(kWarningPrefix).append("variable ").append(subject).append(" refers to itself");
      break;
    case NoteKind::VariableTooDeep:
      out.append(kWarningPrefix).append("variable ").append(subject).append(" lies more than ");
      appendNumber(note.as<Note::VariableTooDeep>().maxDepth, out);
      out.append(" variables deep");
      break;
    case NoteKind::VariableTooLong:
      out.append(kWarningPrefix).append("variable ").append(subject).append(" would grow a text past ");
      appendNumber(note.as<Note::VariableTooLong>().maxTextMB, out);
      out.append(" MB (or all texts past ");
      appendNumber(note.as<Note::VariableTooLong>().maxAllTextsMB, out);
      out.append(" MB)");
      break;
    case NoteKind::MalformedReference:
      out.append(kWarningPrefix).append("malformed variable reference ").append(subject);
      break;
    default: out.append(textOf(note)); return;
  }
  // Each of the others ends alike.
  out.append(note.kind == NoteKind::MalformedReference ? " left as written in "
                                                        : ", left as written in ");
  appendWhere(leftIn(note), out);
}

// --- The workspace run ---------------------------------------------------

std::string workspaceProjectHeading(std::size_t index, std::size_t count, const std::string& name,
                                    const std::string& folder) {
  return "Project " + std::to_string(index) + " of " + std::to_string(count) + ": " + name +
         " (" + folder + ")";
}

std::string workspaceCountLine(std::size_t converted, std::size_t total) {
  return "Workspace: " + std::to_string(converted) + " of " + std::to_string(total) +
         " projects converted";
}

std::string workspaceSummaryLine(const std::string& name, bool converted, std::size_t warnings,
                                 const std::string& failure) {
  if (!converted) return name + ": failed: " + failure;
  if (warnings == 0) return name + ": converted";
  return name + ": converted with " + counted(warnings, "warning", "warnings");
}

std::string workspaceUnexpectedFailure() { return "stopped by an unexpected error"; }

std::string workspaceDatabaseLine(std::size_t entries, std::size_t projects,
                                  const std::vector<std::string>& failed) {
  std::string line = "Compilation database: " + counted(entries, "entry", "entries") + " of " +
                     counted(projects, "project", "projects");
  if (failed.empty()) return line;
  line += ", without the projects that failed: ";
  for (std::size_t i = 0; i < failed.size(); ++i) line.append(i == 0 ? "" : ", ").append(failed[i]);
  return line;
}

std::string workspaceNoDatabaseLine() {
  return "Compilation database: not replaced, no project converted";
}

std::string workspaceSearchCutShortLine(std::size_t depth, std::size_t folders) {
  return warningLine("the workspace search stopped at " + std::to_string(depth) + " levels or " +
                     std::to_string(folders) + " folders; projects beyond were not looked for");
}

// --- The run's guards ----------------------------------------------------

std::string outputFailedLine() { return "Plovik: could not write to standard output"; }
