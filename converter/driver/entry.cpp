#include "driver/entry.h"

#include <optional>

#include "driver/console.h"
#include "driver/conversion_job.h"
#include "driver/messages.h"
#include "driver/normalise_path.h"
#include "model/failure.h"

int plovikMain(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[1] == "--version") {
    printLine(versionLine());
    return 0;
  }
  if (args.size() < 5) {
    for (const std::string& line : usageLines()) printLine(line);
    return 0;
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
    if (describe) return job.describe(optionFailure) ? 0 : 1;
    if (optionFailure) {
      if (!silent) printLine(messageFor(*optionFailure));
      return 1;
    }
    return job.run() ? 0 : 1;
  } catch (...) {
    // Anything the run does not handle (memory, a library error) ends the
    // program quietly with a failure status.
    return 1;
  }
}
