#include "driver/console.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"
#include "text/utf8.h"

namespace {

// Whether any of the 8 bytes at `at` may begin a control character: below
// 0x20, or 0x7f and up. Lines are checked 8 bytes at a time, since nearly
// all of their bytes are printable.
bool mayHoldControl(const char* at) {
  std::uint64_t bytes;
  std::memcpy(&bytes, at, sizeof bytes);
  constexpr std::uint64_t ones = 0x0101010101010101, highs = 0x8080808080808080;
  const std::uint64_t below = (bytes - 0x20 * ones) & ~bytes & highs;
  const std::uint64_t above = ((bytes + ones) | bytes) & highs;
  return (below | above) != 0;
}

}  // namespace

// Names and paths in a line come from files and folders the user may not
// control; a raw escape sequence or line break would reach the terminal (or
// forge a line for the wizard).
void showLine(std::string& text, std::size_t from) {
  std::size_t i = from;
  while (i + 8 <= text.size() && !mayHoldControl(text.data() + i)) i += 8;
  std::size_t kept = i;  // the end of the bytes shown so far
  for (; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7f) {
      text[kept++] = text[i];  // the common case, never a control
      continue;
    }
    const std::size_t control = controlLengthAt(text, i, platform::namesAreUtf8);
    if (control == 0) {
      text[kept++] = text[i];
      continue;
    }
    text[kept++] = '?';
    i += control - 1;
  }
  text.resize(kept);
  text += '\n';
}

namespace {

// Set once a write to standard output has failed; it stays failed.
bool outputFailed = false;

// Where this thread's lines go instead of standard output; null: there.
thread_local std::string* captured = nullptr;

}  // namespace

void printLine(std::string_view text) {
  std::string shown;
  shown.reserve(text.size() + 1);
  shown.append(text);
  showLine(shown, 0);
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

void Console::operator()(const Note& note) const {
  if (isStep(note.kind) && !showSteps) return;
  printLine(textOf(note));
}

// The warnings are all known by now, so they go out as one block in one
// write: a reader still sees each line complete, and a hundred thousand of
// them cost no flush each. The ranks are few, so a pass per rank keeps each
// rank's notes in the order they came.
void printWarnings(const std::vector<Note>& warnings) {
  int lastRank = 0;
  for (const Note& note : warnings) lastRank = std::max(lastRank, warningRank(note.kind));
  std::string block;
  for (int rank = 0; rank <= lastRank; ++rank) {
    for (const Note& note : warnings) {
      if (warningRank(note.kind) != rank) continue;
      const std::size_t line = block.size();
      appendTextOf(note, block);
      showLine(block, line);
    }
  }
  if (!block.empty()) printText(block);
}
