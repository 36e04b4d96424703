#include "driver/console.h"

#include <algorithm>
#include <cstdio>

#include "platform/platform.h"
#include "text/utf8.h"

namespace {

// Names and paths in a line come from files and folders the user may not
// control; a raw escape sequence or line break would reach the terminal (or
// forge a line for the wizard). Such characters are shown as "?", one for
// each character.
bool needsShowing(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (controlLengthAt(text, i, platform::namesAreUtf8) != 0) return true;
  }
  return false;
}

// Set once a write to standard output has failed; it stays failed.
bool outputFailed = false;

void put(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) outputFailed = true;
}

}  // namespace

void printLine(std::string_view text) {
  if (!needsShowing(text)) return put(text);
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::size_t control = controlLengthAt(text, i, platform::namesAreUtf8);
    shown += control != 0 ? '?' : text[i];
    if (control > 1) i += control - 1;
  }
  put(shown);
}

void printText(std::string_view text) {
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

void Console::printWarnings() {
  std::stable_sort(held.begin(), held.end(), [](const Note& a, const Note& b) {
    return warningRank(a.kind) < warningRank(b.kind);
  });
  for (const Note& note : held) printLine(textOf(note));
  held.clear();
}
