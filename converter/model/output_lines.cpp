#include "model/output_lines.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "model/failure.h"

namespace {

// Names and paths in a line come from files and folders the user may not
// control; a raw escape sequence or line break would reach the terminal (or
// forge a line for the wizard). Such bytes are shown as "?".
bool isControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7f;
}

void put(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

void closeChecked(std::ofstream& out, const std::string& target) {
  out.close();
  if (out.fail()) throw IOERROR(FailureKind::CannotWriteFile, target);
}

void printLine(std::string_view text) {
  if (std::none_of(text.begin(), text.end(), isControl)) return put(text);
  std::string shown(text);
  std::replace_if(shown.begin(), shown.end(), isControl, '?');
  put(shown);
}
