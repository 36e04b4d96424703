#include "driver/entry.h"

#include <optional>

#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/messages.h"
#include "driver/normalise_path.h"
#include "driver/workspace_run.h"
#include "model/failure.h"
#include "platform/platform.h"

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
    ConversionJob job(normalisePath(args[1]), normalisePath(args[2]), args[3],
                      normalisePath(args[4]));
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
    if (describe) return delivered(job.describe(optionFailure) ? 0 : 1);
    if (optionFailure) {
      if (!silent) printLine(messageFor(*optionFailure));
      return 1;
    }
    // An interrupted conversion takes its temporary files with it.
    platform::catchInterrupts();
    const bool converted = job.run();
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
