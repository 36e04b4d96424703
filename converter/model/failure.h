// What can end a conversion, with the path, name or token it is about. A
// failure is thrown by value. ConversionJob::run and ConversionJob::describe
// catch it and make it their outcome's failure; the entry catches an
// option's and hands it on to describe, or prints it; the workspace run
// catches what ends the whole run (an option's fault, the search), what
// ends one project before its job (its own settings, its folder) and the
// merged database's. Elsewhere it is caught only where the end of a text or
// of a choice is no end of the run: the readers of links after the project
// description, the reading of a referenced project's name, the real-project
// mode's note of the known specs before the failure goes on, and a
// sub-project's build description without the chosen build spec, read again
// for its own.
#pragma once

#include <string>
#include <utility>
#include <vector>

enum class FailureKind {
  CannotOpenFile,         // a project or build description cannot be read
  UnexpectedEnd,          // the project description ends inside its markup
  UnexpectedToken,        // the project description has another shape; the token
  CannotOpenFolder,       // the workspace folder is missing or no folder
  InvalidName,            // a project or group name that cannot name a file
  CannotCreateDirectory,  // a folder of the output
  CannotWriteFile,        // a file of the output
  MissingValue,           // an option given without its value; the option
  InvalidValue,           // an option's malformed value; the option, names: the value, its form
  UnknownBuildSpec,       // -spec names none of the file's; the name, names: the known ones
  UnknownBuildTarget,     // -target names none of the file's; likewise
  NotUtf8,                // a text every compilation database entry holds
  NotRegularFile,         // an output name taken by a device, a FIFO or the like
  OutputIsInput,          // an output would replace a file the run reads
  OutputTwice,            // the compilation database would replace another output
  NoTemporaryName,        // every temporary name beside an output is taken
  OutOfMemory,            // what the run was doing
  NoWorkbenchProject,     // a workspace run found none; the workspace
  EndOfKinds,             // no failure: a new kind goes above this line
};

struct Failure {
  Failure(FailureKind kind, std::string subject = {}, std::vector<std::string> names = {})
      : kind(kind), subject(std::move(subject)), names(std::move(names)) {}
  FailureKind kind;
  std::string subject;
  std::vector<std::string> names;
};

// A failure of reading the project description's markup.
struct XMLReaderError : Failure {
  using Failure::Failure;
};

// A failure of writing the analyser project.
struct IOERROR : Failure {
  using Failure::Failure;
};
