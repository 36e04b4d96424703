// What can end a conversion, with the path, name or token it is about. A
// failure is thrown by value. ConversionJob::run and ConversionJob::describe
// catch it and turn it into its message (the entry hands an option's on to
// describe); elsewhere it is caught only where the end of a text is no end of
// the run: the readers of links after the project description and of a
// referenced project's name, and the mode's note of the known specs before
// the failure goes on.
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
