// A stream read a block at a time and handed on as runs of whole lines,
// searched where they lie in the block: for quick looks through files of a
// hundred megabytes that look at few of their lines.
#pragma once

#include <cstddef>
#include <functional>
#include <istream>
#include <string_view>

struct LineRuns {
  // Called with one or more whole lines, in file order, each with its line
  // feed but the file's last line, which may have none.
  std::function<void(std::string_view)> lines;
  // Whether a part of a line holds what `lines` looks for. A line that grows
  // past `held` bytes without it is no longer held (only its last `overlap`
  // bytes are kept, for a text split between two blocks); should the rest
  // of the line hold it after all, the line is read again from its start.
  std::function<bool(std::string_view)> holds;
  std::size_t overlap = 0;  // the longest text `holds` looks for, less one
  std::size_t block = 1 << 18;
  std::size_t held = 1 << 22;
};

// Reads `in` from `start`, where it stands, to its end. A long line is read
// again by seeking back to it, so `in` must allow seeking.
void readLineRuns(std::istream& in, std::streampos start, const LineRuns& runs);
