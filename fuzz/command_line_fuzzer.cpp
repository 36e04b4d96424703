// The command line: an arbitrary argument list (the input cut at every zero
// byte) through absolutePath and the option scan, as the entry uses them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "driver/conversion_job.h"
#include "driver/absolute_path.h"
#include "driver/options.h"
#include "fuzz_support.h"
#include "model/failure.h"
#include "platform/platform.h"
#include "text/path.h"

namespace {

std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> args{"Plovik"};
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  if (size > 0) args.push_back(current);
  return args;
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), std::string::npos, tail) == 0;
}

// absolutePath only ever puts something in front of the path (or, for ".",
// gives the current directory): it never cuts or changes what was typed.
void checkNormalised(const std::string& path, const std::string& current) {
  const std::string result = absolutePath(path);
  if (path::native == path::Style::posix) {  // no drive letters
    const bool expected = result == path || (path == "." && result == current) ||
                          result == current + path::separator() + path;
    if (!expected) fuzzFailure("absolutePath changed \"" + path + "\" into \"" + result + "\"");
  } else if (path != "." && !endsWith(result, path.size() >= 2 && path[1] == ':' ? path.substr(2) : path)) {
    fuzzFailure("absolutePath lost part of \"" + path + "\"");
  }
}

// The option of the table named `arg` exactly, or none.
const OptionSpec* optionNamed(const std::string& arg) {
  for (const OptionSpec& option : optionTable()) {
    if (option.name == arg) return &option;
  }
  return nullptr;
}

bool isKind(const std::string& arg, OptionKind kind) {
  const OptionSpec* option = optionNamed(arg);
  return option != nullptr && option->kind == kind;
}

// The options that switch the real-project mode on.
bool isRealProjectOption(const std::string& arg) {
  const OptionSpec* option = optionNamed(arg);
  if (option == nullptr) return false;
  switch (option->id) {
    case OptionId::RealProject:
    case OptionId::Spec:
    case OptionId::Variable:
    case OptionId::Map:
    case OptionId::Target:
    case OptionId::Workspace: return true;
    default: return false;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> args = argumentsOf(data, size);
  std::string current;
  platform::currentDirectory(current);
  for (std::size_t i = 1; i < args.size(); ++i) checkNormalised(args[i], current);

  // The entry builds the job only from at least four positional arguments.
  if (args.size() < 5) return 0;
  ConversionJob job(absolutePath(args[1]), absolutePath(args[2]), args[3],
                    absolutePath(args[4]));
  const bool anyRealProjectOption = std::any_of(args.begin() + 1, args.end(), isRealProjectOption);
  // A pair (-workspace) checks its two values as well.
  const bool anyCheckedOption = std::any_of(args.begin() + 1, args.end(), [](const std::string& a) {
    return isKind(a, OptionKind::Checked) || isKind(a, OptionKind::Pair);
  });
  bool applied = false;
  try {
    applied = applyOptions(job.options, args);
  } catch (const Failure& failure) {
    // Only the options that check their values refuse with a message.
    const bool namedFault =
        failure.kind == FailureKind::MissingValue || failure.kind == FailureKind::InvalidValue;
    if (!namedFault || !anyCheckedOption) {
      fuzzFailure("an option refused that cannot be: " + failure.subject);
    }
    return 0;
  }
  if (applied && job.options.realProject.enabled != anyRealProjectOption) {
    fuzzFailure("the real-project mode does not follow its options");
  }
  if (applied && job.options.describe != holdsOption(args, OptionId::Describe)) {
    fuzzFailure("-describe does not follow its option");
  }
  bool lastIsOption = false;
  std::size_t commas = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!isKind(args[i], OptionKind::Classic)) continue;
    if (i + 1 == args.size()) {
      lastIsOption = true;
      break;
    }
    if (args[i] == "-ext") commas += 1 + std::count(args[i + 1].begin(), args[i + 1].end(), ',');
  }
  if (applied == lastIsOption) fuzzFailure("the option scan misjudged a missing value");
  if (applied && job.options.fileExtensions.size() != commas) {
    fuzzFailure("the option scan kept the wrong number of extensions");
  }
  return 0;
}
