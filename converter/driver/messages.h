// Every text the converter shows its user: the usage and version lines,
// the line of each failure, each progress line and each warning. One place,
// so that the wording is kept and tested as a whole.
#pragma once

#include <string>
#include <vector>

#include "model/failure.h"
#include "model/note.h"

// The two lines of the usage text.
std::vector<std::string> usageLines();
// What --version prints.
std::string versionLine();
// The one line the converter prints for `failure`.
std::string messageFor(const Failure& failure);
// The line of a note: a progress line or a warning ("Warning: ...").
std::string textOf(const Note& note);
// The same appended to `out`: the warnings about variables, by the hundred
// thousand, are written without a string of their own each.
void appendTextOf(const Note& note, std::string& out);
// The failure of an option given without its value, as a description names it.
std::string missingValueMessage(const std::string& option);

// The line on standard error when standard output could not be written.
std::string outputFailedLine();
