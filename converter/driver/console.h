// Standard output, where the converter shows its user everything: each line
// flushed at once, so that a reading process (the wizard) sees it as soon as
// it is printed. Standard error gets one line only, when standard output
// itself could not be written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "driver/messages.h"
#include "model/note.h"

// One line, control characters shown as "?".
void printLine(std::string_view text);
// The bytes of `text` from `from` on shown as printLine shows them (each
// control character, C0, DEL or C1, as one "?"), and a line break added.
void showLine(std::string& text, std::size_t from = 0);
// Text as it is, such as a JSON document that ends its own lines.
void printText(std::string_view text);
// Whether any write to standard output failed (a full device, a reader that
// went away): what was printed did not all arrive.
bool standardOutputFailed();
// One line on standard error, for the one thing standard output cannot say:
// that it could not be written.
void printErrorLine(std::string_view text);

// While one lives, what this thread prints goes into `into` instead of
// standard output: the projects of a workspace run convert on threads of
// their own, and each one's lines are shown together, in a fixed order.
class CapturedOutput {
 public:
  explicit CapturedOutput(std::string& into);
  ~CapturedOutput();
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

 private:
  std::string* earlier;
};

// The progress lines of a run, printed at once. The lines of the long steps
// are printed only when `showSteps` (the real-project mode): without it the
// output stays as it always was.
class Console {
 public:
  explicit Console(bool showSteps = false) : showSteps(showSteps) {}
  void operator()(const Note& note) const;

 private:
  bool showSteps;
};

// A run's warnings, after it has succeeded, in their places (the
// reading's, the analyser personality's, the compilation database's) as
// one block in one write.
void printWarnings(const std::vector<Note>& warnings);
