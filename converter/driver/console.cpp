#include "driver/console.h"

#include <algorithm>
#include <cstdio>

namespace {

// Names and paths in a line come from files and folders the user may not
// control; a raw escape sequence or line break would reach the terminal (or
// forge a line for the wizard). Such bytes are shown as "?".
bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

// On POSIX names are UTF-8, where U+0080 to U+009F (the bytes C2 80 to
// C2 9F) are control characters too: U+009B is the terminal's CSI, which
// begins an escape sequence like ESC [ does. On Windows names are bytes of
// the ANSI code page, where 0x80 to 0x9F are letters and signs (the euro
// sign, quotes), so nothing more is shown as "?" there.
#ifdef _WIN32
constexpr bool kUtf8Names = false;
#else
constexpr bool kUtf8Names = true;
#endif

bool isC1Control(std::string_view text, std::size_t at) {
  return kUtf8Names && static_cast<unsigned char>(text[at]) == 0xC2 && at + 1 < text.size() &&
         static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[at + 1]) <= 0x9F;
}

bool needsShowing(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isControl(text[i]) || isC1Control(text, i)) return true;
  }
  return false;
}

void put(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

void printLine(std::string_view text) {
  if (!needsShowing(text)) return put(text);
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (isC1Control(text, i)) {
      shown += '?';  // one for the character's two bytes
      ++i;
    } else {
      shown += isControl(text[i]) ? '?' : text[i];
    }
  }
  put(shown);
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
