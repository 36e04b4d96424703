#include "driver/entry.h"

#include <algorithm>
#include <optional>

#include "driver/conversion_job.h"
#include "driver/failure_message.h"
#include "driver/normalise_path.h"
#include "model/failure.h"
#include "model/output_lines.h"

namespace {

[[noreturn]] void invalidOption(const std::string& message) {
  throw Failure(FailureKind::InvalidOption, message);
}

// NAME=VALUE (VALUE may be empty); FROM=TO for -map.
std::pair<std::string, std::string> assignment(const std::string& option,
                                               const std::string& value, const char* form) {
  const std::size_t equals = value.find('=');
  if (equals == std::string::npos || equals == 0) {
    invalidOption("Invalid value for " + option + ": \"" + value + "\" (give " + form + ")");
  }
  return {value.substr(0, equals), value.substr(equals + 1)};
}

// The real-project mode's options; each switches the mode on.
bool applyRealProjectOption(ConversionJob& job, const std::vector<std::string>& args,
                            std::size_t i) {
  const std::string& arg = args[i];
  const bool takesValue = arg == "-spec" || arg == "-var" || arg == "-map" || arg == "-target";
  if (!takesValue && arg != "-wb") return false;
  job.realProject.enabled = true;
  if (!takesValue) return true;
  if (i + 1 >= args.size()) invalidOption("Missing value for " + arg);
  const std::string& value = args[i + 1];
  if (arg == "-var") {
    job.realProject.variables.push_back(assignment(arg, value, "NAME=VALUE"));
  } else if (arg == "-map") {
    job.realProject.maps.push_back(assignment(arg, value, "FROM=TO"));
  } else if (value.empty()) {
    invalidOption("Missing value for " + arg);
  } else if (arg == "-spec") {
    job.realProject.spec = value;
  } else {
    job.realProject.target = value;
  }
  return true;
}

}  // namespace

bool applyOptions(ConversionJob& job, const std::vector<std::string>& args) {
  // A value is visited in its turn as well, so "-pn -ext h" both names the
  // project "-ext" and adds the extension h.
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (applyRealProjectOption(job, args, i)) continue;
    if (arg == "-cdb") {
      if (i + 1 >= args.size() || args[i + 1].empty()) invalidOption("Missing value for -cdb");
      job.compilationDatabase = normalisePath(args[i + 1]);
      continue;
    }
    const bool isOption =
        arg == "-pn" || arg == "-mp" || arg == "-ap" || arg == "-cp" || arg == "-ext";
    if (!isOption) continue;
    if (i + 1 >= args.size()) return false;
    const std::string& value = args[i + 1];
    if (arg == "-pn") job.projectName = value;
    else if (arg == "-mp") job.messagePersonality = normalisePath(value);
    else if (arg == "-ap") job.analyserPersonality = normalisePath(value);
    else if (arg == "-cp") job.compilerPersonality = normalisePath(value);
    else job.addFileExtensions(value);
  }
  return true;
}

int plovikMain(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[1] == "--version") {
    printLine("Plovik " PLOVIK_VERSION);
    return 0;
  }
  if (args.size() < 5) {
    printLine("Usage: Plovik <source_proj> <source_wrproj> <windriver_workspace_dir> "
              "<dest_folder> [-pn dest_proj_name]");
    printLine("[-mp message_personality] [-ap analyser_personality] "
              "[-cp compiler_personality] [-ext file_extension]");
    return 0;
  }
  try {
    std::string sourceProject = normalisePath(args[1]);
    std::string buildSettings = normalisePath(args[2]);
    std::string destFolder = normalisePath(args[4]);
    ConversionJob job(std::move(sourceProject), std::move(buildSettings), args[3],
                      std::move(destFolder));
    // -describe, wherever it stands, describes the run instead of doing it;
    // an option's fault then goes into the description.
    const bool describe = std::find(args.begin() + 1, args.end(), "-describe") != args.end();
    std::optional<std::string> optionFailure;
    try {
      if (!applyOptions(job, args)) {
        if (!describe) return 1;
        optionFailure = "Missing value for " + args.back();
      }
    } catch (const Failure& failure) {
      if (!describe) {
        printLine(messageFor(failure));
        return 1;
      }
      optionFailure = messageFor(failure);
    }
    if (describe) return job.describe(optionFailure) ? 0 : 1;
    return job.run() ? 0 : 1;
  } catch (...) {
    // Anything the run does not handle (memory, a library error) ends the
    // program quietly with a failure status.
    return 1;
  }
}
