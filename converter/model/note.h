// What a conversion tells its user besides a failure: how the writing goes,
// and what the reading and writing left out or could not do. The steps hand
// notes to a sink as plain values; only the driver turns them into lines
// (driver/messages), and nothing below it prints.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// A warning's kind carries kWarningNote in its value: whether a note is a
// warning is told by its kind, wherever it stands in the list.
inline constexpr unsigned kWarningNote = 0x100;

enum class NoteKind : unsigned {
  // Progress, shown as it happens.
  CreatingProject,
  CreatingGroup,                // subject: the group's name as its block shows it
  CreatingAnalyserPersonality,  // subject: the file
  ProjectCompleted,
  GivenPersonalityUnreadable,   // the -ap file cannot be read; the run goes on
  // The long steps as each begins; shown in the real-project mode only.
  ScanningSubprojects,          // number: the projects looked for
  ScanningProjectFolder,        // subject: the folder
  WritingCompilationDatabase,   // number: the entries
  EndOfProgress,                // no note: a new progress note goes above this line
  // Warnings of the reading, shown after the completion line.
  UnresolvedVariable = kWarningNote,  // subject: the name; counts: include paths, macro values
  VariableRefersToItself,  // likewise
  VariableTooDeep,         // likewise; number: the depth allowed
  VariableTooLong,         // likewise; number, number2: the bounds in MB
  MalformedReference,      // subject: the reference as written; counts
  LinkedResourcesLeftOut,  // subject: the project; names: the links
  ProjectNotFound,         // subject: the project
  SubprojectsWithoutBuildDescription,  // names: the sub-projects
  SearchCutShort,          // number: the folders listed
  BuildTargetLoop,         // subject: the loop, as "T -> U -> T"
  BuildTargetWithoutContents,  // subject: the chosen target, built from contents it has none of
  TooManyTargetSettings,   // number: the files; number2: the sets composed
  CommandTooLong,          // subject: the tool; number: the recipe's bound in MB
  NoCompilingCommand,      // subject: the tool; names: the build spec (empty: all)
  CompilerTakesNoLists,    // likewise
  ValueSplit,              // subject: the variable
  NoSourceFile,
  // Warnings of the analyser personality, then of the compilation database.
  LineBreakInIncludePath,  // subject: the include path
  LineBreakInMacro,        // subject: the macro as NAME=VALUE
  NotUtf8InDatabase,       // subject: the text left out
  // A description's own (Plovik -describe).
  NotUtf8InDescription,    // subject: the text, bytes that are no UTF-8 shown as "?"
  EndOfWarnings,           // no note: a new warning goes above this line, and nothing below it
};

struct Note {
  Note(NoteKind kind, std::string subject = {}) : kind(kind), subject(std::move(subject)) {}
  NoteKind kind;
  std::string subject;
  std::size_t counts[2] = {0, 0};  // include paths, macro values
  std::size_t number = 0;
  std::size_t number2 = 0;
  std::vector<std::string> names;
};

// Where a step's notes go. Never empty: a step that is given one calls it
// without asking, and a caller that wants none says so with ignoreNotes().
class NoteSink {
 public:
  template <typename Deliver,
            typename = std::enable_if_t<std::is_invocable_v<Deliver&, Note> &&
                                        !std::is_same_v<std::decay_t<Deliver>, NoteSink>>>
  NoteSink(Deliver deliver) : deliver(std::move(deliver)) {}
  NoteSink(std::nullptr_t) = delete;

  void operator()(Note note) const { deliver(std::move(note)); }

 private:
  std::function<void(Note)> deliver;
};

inline NoteSink ignoreNotes() {
  return [](Note) {};
}

// Whether a note is a warning, shown after the run; and in which of the
// three places the run shows its warnings in (reading, analyser
// personality, compilation database).
bool isWarning(NoteKind kind);
// Whether a note tells of a long step beginning (printed only where asked).
bool isStep(NoteKind kind);
int warningRank(NoteKind kind);
