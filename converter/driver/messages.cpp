#include "driver/messages.h"

#include "driver/options.h"

namespace {

std::string counted(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

// "2 include paths and 1 macro value".
std::string where(const Note& note) {
  std::string text;
  if (note.counts[0] > 0) text = counted(note.counts[0], "include path", "include paths");
  if (note.counts[1] > 0) {
    if (!text.empty()) text += " and ";
    text += counted(note.counts[1], "macro value", "macro values");
  }
  return text;
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
      return "Scanning sub-projects: " + counted(note.number, "project", "projects");
    case NoteKind::ScanningProjectFolder: return "Scanning project folder: " + subject;
    case NoteKind::WritingCompilationDatabase:
      return "Writing compilation database: " + counted(note.number, "entry", "entries");
    case NoteKind::UnresolvedVariable:
      return "Warning: unresolved variable " + subject + " in " + where(note) +
             " (give it with -var " + subject + "=...)";
    case NoteKind::VariableRefersToItself:
      return "Warning: variable " + subject + " refers to itself, left as written in " + where(note);
    case NoteKind::VariableTooDeep:
      return "Warning: variable " + subject + " lies more than " + std::to_string(note.number) +
             " variables deep, left as written in " + where(note);
    case NoteKind::VariableTooLong:
      return "Warning: variable " + subject + " would grow a text past " +
             std::to_string(note.number) + " MB (or all texts past " +
             std::to_string(note.number2) + " MB), left as written in " + where(note);
    case NoteKind::MalformedReference:
      return "Warning: malformed variable reference " + subject + " left as written in " +
             where(note);
    case NoteKind::LinkedResourcesLeftOut:
      return "Warning: " + counted(note.names.size(), "linked resource", "linked resources") +
             " of " + subject + " left out, location unknown or missing: " +
             firstNames(note.names, 5);
    case NoteKind::ProjectNotFound:
      return "Warning: referenced project " + subject + " not found in the workspace";
    case NoteKind::SearchCutShort:
      return "Warning: the search for referenced projects stopped after " +
             std::to_string(note.number) + " folders";
    case NoteKind::BuildTargetLoop:
      return "Warning: build targets refer to each other in a loop, not followed: " + subject;
    case NoteKind::NoSourceFile: return "Warning: the project lists no source file";
    case NoteKind::LineBreakInIncludePath:
      return "Warning: line break in include path, left out of the analyser personality: " +
             subject;
    case NoteKind::LineBreakInMacro:
      return "Warning: line break in macro, left out of the analyser personality: " + subject;
    case NoteKind::NotUtf8InDatabase:
      return "Warning: not UTF-8, left out of the compilation database: " + subject;
    case NoteKind::NotUtf8InDescription:
      return "Warning: not UTF-8, left out of the description: " + subject;
  }
  return subject;
}

// --- The run's guards ----------------------------------------------------

std::string outputFailedLine() { return "Plovik: could not write to standard output"; }
