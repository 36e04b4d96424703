#include "driver/failure_message.h"

std::string messageFor(const Failure& failure) {
  switch (failure.kind) {
    case FailureKind::CannotOpenFile: return "Could not open file: " + failure.subject;
    case FailureKind::UnexpectedEnd: return "WR Project file parsing encountered unexpected EOF";
    case FailureKind::UnexpectedToken:
      return "WR Project file parsing encountered unexpected token: " + failure.subject;
    case FailureKind::CannotOpenFolder: return "Could not open folder: " + failure.subject;
    case FailureKind::InvalidName: return "Invalid project name: " + failure.subject;
    case FailureKind::CannotCreateDirectory: return "Could not create directory: " + failure.subject;
    case FailureKind::CannotWriteFile: return "Could not write file: " + failure.subject;
    case FailureKind::InvalidOption: return failure.subject;
    case FailureKind::UnknownBuildSpec: return "Unknown build spec: " + failure.subject;
    case FailureKind::UnknownBuildTarget: return "Unknown build target: " + failure.subject;
    case FailureKind::NotUtf8:
      return "Not UTF-8, cannot be written to the compilation database: " + failure.subject;
    case FailureKind::NotRegularFile: return "Not a regular file, not replaced: " + failure.subject;
    case FailureKind::OutputIsInput:
      return "Would overwrite an input of the run: " + failure.subject;
    case FailureKind::OutputTwice:
      return "Would overwrite another output of the run: " + failure.subject;
    case FailureKind::NoTemporaryName:
      return "No free temporary name beside: " + failure.subject;
    case FailureKind::OutOfMemory: return "Out of memory while " + failure.subject;
  }
  return failure.subject;
}
