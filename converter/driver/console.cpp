#include "driver/console.h"

#include <algorithm>
#include <cstdio>

#include "platform/platform.h"
#include "text/utf8.h"

namespace {

// Appends `text` and a line break to `out`. Names and paths in a line come
// from files and folders the user may not control; a raw escape sequence or
// line break would reach the terminal (or forge a line for the wizard). Such
// characters are shown as "?", one for each character.
void appendShown(std::string_view text, std::string& out) {
  std::size_t plain = 0;  // the start of the run of bytes not yet appended
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7f) continue;  // the common case, never a control
    const std::size_t control = controlLengthAt(text, i, platform::namesAreUtf8);
    if (control == 0) continue;
    out.append(text, plain, i - plain);
    out += '?';
    i += control - 1;
    plain = i + 1;
  }
  out.append(text, plain);
  out += '\n';
}

// Set once a write to standard output has failed; it stays failed.
bool outputFailed = false;

// Where this thread's lines go instead of standard output; null: there.
thread_local std::string* captured = nullptr;

}  // namespace

void printLine(std::string_view text) {
  std::string shown;
  shown.reserve(text.size() + 1);
  appendShown(text, shown);
  printText(shown);
}

CapturedOutput::CapturedOutput(std::string& into) : earlier(captured) { captured = &into; }

CapturedOutput::~CapturedOutput() { captured = earlier; }

void printText(std::string_view text) {
  if (captured != nullptr) {
    captured->append(text);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) outputFailed = true;
}

bool standardOutputFailed() { return outputFailed; }

void printErrorLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void Console::operator()(Note note) {
  if (isStep(note.kind) && !showSteps) return;
  if (!isWarning(note.kind)) return printLine(textOf(note));
  held.push_back(std::move(note));
}

// The warnings are all known by now, so they go out as one block in one
// write: a reader still sees each line complete, and a hundred thousand of
// them cost no flush each. The ranks are few, so a pass per rank keeps each
// rank's notes in the order they came.
void Console::printWarnings() {
  int lastRank = 0;
  for (const Note& note : held) lastRank = std::max(lastRank, warningRank(note.kind));
  std::string block;
  for (int rank = 0; rank <= lastRank; ++rank) {
    for (const Note& note : held) {
      if (warningRank(note.kind) == rank) appendShown(textOf(note), block);
    }
  }
  held.clear();
  if (!block.empty()) printText(block);
}
