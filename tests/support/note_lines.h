// The notes a step gives, as the lines the converter shows for them, for
// the tests of the steps below the driver.
#pragma once

#include <string>
#include <vector>

#include "driver/messages.h"
#include "model/note.h"

// A sink for a step whose notes the test does not look at.
inline NoteSink ignoreNotes() {
  return [](Note) {};
}

struct NoteLines {
  // Every note's line, each ended by a line feed, in the order given.
  std::string text;
  std::vector<std::string> lines;

  NoteSink sink() {
    return [this](Note note) {
      lines.push_back(textOf(note));
      text += lines.back() + "\n";
    };
  }
};
