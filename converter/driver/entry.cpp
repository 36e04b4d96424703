#include "driver/entry.h"

#include <optional>

#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/messages.h"
#include "driver/absolute_path.h"
#include "driver/workspace_run.h"
#include "model/failure.h"
#include "platform/platform.h"
#include "writing/description.h"

namespace {

// What standard output printed is the whole answer of --version, the usage
// and -describe: one that did not arrive is a failure, said where it can be.
int delivered(int status) {
  if (!standardOutputFailed()) return status;
  printErrorLine(outputFailedLine());
  return 1;
}

}  // namespace

int plovikMain(const std::vector<std::string>& args) {
  platform::reportBrokenPipes();
  if (args.size() == 2 && args[1] == "--version") {
    printLine(versionLine());
    return delivered(0);
  }
  try {
    // Every project of a workspace, with the options of the real-project
    // mode; the four-argument form is not looked at then, so the option's
    // two values suffice.
    if (holdsOption(args, OptionId::Workspace)) return delivered(runWorkspace(args));
  } catch (...) {
    return 1;  // as a single conversion ends on what it does not handle
  }
  if (args.size() < 5) {
    for (const std::string& line : usageLines()) printLine(line);
    return delivered(0);
  }
  try {
    ConversionOptions options;  // the current folder read here, once
    const std::string& current = options.currentDirectory;
    options.sourceProjectPath = absolutePath(args[1], current);
    options.buildSettingsPath = absolutePath(args[2], current);
    options.workspaceDir = args[3];
    options.destFolder = absolutePath(args[4], current);
    ConversionJob job(std::move(options));
    // -describe, wherever it stands, describes the run instead of doing it;
    // an option's fault then goes into the description.
    const bool describe = holdsOption(args, OptionId::Describe);
    std::optional<Failure> optionFailure;
    bool silent = false;  // a classic option without its value ends the run without a word
    try {
      if (!applyOptions(job.options, args)) {
        silent = true;
        optionFailure = Failure(FailureKind::MissingValue, args.back());
      }
    } catch (const Failure& failure) {
      optionFailure = failure;
    }
    if (describe) {
      const ConversionOutcome outcome = job.describe(optionFailure);
      printText(describedJson(*outcome.description, textOf));
      return delivered(outcome.failure ? 1 : 0);
    }
    if (optionFailure) {
      if (!silent) printLine(messageFor(*optionFailure));
      return 1;
    }
    // An interrupted conversion takes its temporary files with it.
    platform::catchInterrupts();
    const bool converted = !job.run().failure;
    // The conversion's result is its files, and its status says whether
    // they were written; lost progress lines are only said.
    if (standardOutputFailed()) printErrorLine(outputFailedLine());
    return converted ? 0 : 1;
  } catch (...) {
    // Anything the run does not handle (memory, a library error) ends the
    // program quietly with a failure status.
    return 1;
  }
}
