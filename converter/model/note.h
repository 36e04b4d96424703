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
#include <variant>
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
  ScanningSubprojects,          // Counted: the projects looked for
  ScanningProjectFolder,        // subject: the folder
  WritingCompilationDatabase,   // Counted: the entries
  EndOfProgress,                // no note: a new progress note goes above this line
  // Warnings of the reading, shown after the completion line.
  UnresolvedVariable = kWarningNote,  // subject: the name; VariableLeft
  VariableRefersToItself,  // likewise
  VariableTooDeep,         // subject: the name; VariableTooDeep
  VariableTooLong,         // subject: the name; VariableTooLong
  MalformedReference,      // subject: the reference as written; VariableLeft
  LinkedResourcesLeftOut,  // subject: the project; NameList: the links
  ProjectNotFound,         // subject: the project
  SubprojectsWithoutBuildDescription,  // NameList: the sub-projects
  SearchCutShort,          // Counted: the folders listed
  BuildTargetLoop,         // subject: the loop, as "T -> U -> T"
  MoreBuildTargetLoops,    // Counted: the loops found past those shown
  BuildTargetWithoutContents,  // subject: the chosen target, built from contents it has none of
  TooManyTargetSettings,   // SettingsLeftOver
  CommandTooLong,          // subject: the tool; Megabytes: the recipe's bound
  NoCompilingCommand,      // subject: the tool; OfSpec
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
  // What a note tells beside its subject: one shape per group of kinds,
  // named by each kind above.

  // The texts a variable was left in, by use.
  struct LeftIn {
    std::size_t includePaths = 0;
    std::size_t macroValues = 0;
    bool operator==(const LeftIn&) const = default;
  };
  struct VariableLeft {
    LeftIn in;
    bool operator==(const VariableLeft&) const = default;
  };
  struct VariableTooDeep {
    LeftIn in;
    std::size_t maxDepth = 0;  // the depth allowed
    bool operator==(const VariableTooDeep&) const = default;
  };
  struct VariableTooLong {
    LeftIn in;
    std::size_t maxTextMB = 0;      // the bound of one text
    std::size_t maxAllTextsMB = 0;  // and of all texts together
    bool operator==(const VariableTooLong&) const = default;
  };
  struct Counted {
    std::size_t count = 0;
    bool operator==(const Counted&) const = default;
  };
  struct NameList {
    std::vector<std::string> names;
    bool operator==(const NameList&) const = default;
  };
  struct OfSpec {
    std::string spec;  // the build spec; empty: all of them
    bool operator==(const OfSpec&) const = default;
  };
  struct Megabytes {
    std::size_t megabytes = 0;
    bool operator==(const Megabytes&) const = default;
  };
  struct SettingsLeftOver {
    std::size_t files = 0;  // the files compiled with the project's settings
    std::size_t sets = 0;   // the sets composed
    bool operator==(const SettingsLeftOver&) const = default;
  };
  using Detail = std::variant<std::monostate, VariableLeft, VariableTooDeep, VariableTooLong,
                              Counted, NameList, OfSpec, Megabytes, SettingsLeftOver>;

  Note(NoteKind kind, std::string subject = {}, Detail detail = {})
      : kind(kind), subject(std::move(subject)), detail(std::move(detail)) {}
  NoteKind kind;
  std::string subject;
  Detail detail;

  // The detail of the shape the kind has; throws std::bad_variant_access
  // for another.
  template <typename Shape>
  const Shape& as() const {
    return std::get<Shape>(detail);
  }
};

// Where a step's notes go. Never empty: a step that is given one calls it
// without asking, and a caller that wants none gives one that drops them.
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

// Whether a note is a warning, shown after the run.
bool isWarning(NoteKind kind);
// Whether a note tells of a long step beginning (printed only where asked).
bool isStep(NoteKind kind);
// Which step a warning comes from, in the order they are shown: 0 the
// reading, 1 the analyser personality, 2 the compilation database, 3 the
// description.
int warningRank(NoteKind kind);
