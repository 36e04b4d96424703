#include "driver/options.h"

#include "driver/normalise_path.h"
#include "model/failure.h"

namespace {

constexpr OptionSpec kOptions[] = {
#define PLOVIK_OPTION(id, name, value, kind) {OptionId::id, name, value, OptionKind::kind},
#include "driver/options.def"
#undef PLOVIK_OPTION
};

const OptionSpec* optionNamed(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// NAME=VALUE (VALUE may be empty); FROM=TO for -map.
std::pair<std::string, std::string> assignment(const OptionSpec& option, const std::string& value,
                                               const char* form) {
  const std::size_t equals = value.find('=');
  if (equals == std::string::npos || equals == 0) {
    throw Failure(FailureKind::InvalidValue, std::string(option.name), {value, form});
  }
  return {value.substr(0, equals), value.substr(equals + 1)};
}

// A whole number from 1 to 1024: more threads than that help no disk.
unsigned jobCount(const OptionSpec& option, const std::string& value) {
  unsigned count = 0;
  for (const char c : value) {
    if (c < '0' || c > '9' || count > 1024) {
      count = 0;
      break;
    }
    count = count * 10 + static_cast<unsigned>(c - '0');
  }
  if (count == 0 || count > 1024) {
    throw Failure(FailureKind::InvalidValue, std::string(option.name), {value, "1 to 1024"});
  }
  return count;
}

void apply(ConversionOptions& options, const OptionSpec& option, const std::string& value) {
  switch (option.id) {
    case OptionId::ProjectName: options.projectName = value; break;
    case OptionId::MessagePersonality: options.messagePersonality = normalisePath(value); break;
    case OptionId::AnalyserPersonality: options.analyserPersonality = normalisePath(value); break;
    case OptionId::CompilerPersonality: options.compilerPersonality = normalisePath(value); break;
    case OptionId::FileExtensions: addFileExtensions(options.fileExtensions, value); break;
    case OptionId::RealProject: options.realProject.enabled = true; break;
    case OptionId::Spec: options.realProject.spec = value; break;
    case OptionId::Variable:
      options.realProject.variables.push_back(assignment(option, value, "NAME=VALUE"));
      break;
    case OptionId::Map:
      options.realProject.maps.push_back(assignment(option, value, "FROM=TO"));
      break;
    case OptionId::Target: options.realProject.target = value; break;
    case OptionId::Database: options.compilationDatabase = normalisePath(value); break;
    case OptionId::Describe: options.describe = true; break;
    case OptionId::Jobs: options.jobs = jobCount(option, value); break;
    case OptionId::Project: options.projects.push_back(value); break;
    case OptionId::Workspace: break;  // a pair: applyPair
  }
}

void applyPair(ConversionOptions& options, const OptionSpec& option, const std::string& first,
               const std::string& second) {
  if (option.id == OptionId::Workspace) {
    options.workspaceRun = first;
    options.workspaceDest = normalisePath(second);
  }
}

// Each option of the real-project mode switches it on, whatever its value.
bool switchesModeOn(OptionId id) {
  return id == OptionId::RealProject || id == OptionId::Spec || id == OptionId::Variable ||
         id == OptionId::Map || id == OptionId::Target || id == OptionId::Workspace;
}

// An empty value names no build spec, target or file; a variable may be
// given the empty value, and a map's fault is its form.
bool takesEmptyValue(OptionId id) { return id == OptionId::Variable || id == OptionId::Map; }

}  // namespace

std::span<const OptionSpec> optionTable() { return kOptions; }

bool holdsOption(const std::vector<std::string>& args, OptionId id) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const OptionSpec* option = optionNamed(args[i]);
    if (option != nullptr && option->id == id) return true;
  }
  return false;
}

void addFileExtensions(std::vector<std::string>& extensions, const std::string& value) {
  std::string::size_type start = 0;
  for (auto comma = value.find(',', start); comma != std::string::npos;
       comma = value.find(',', start)) {
    extensions.push_back(value.substr(start, comma - start));
    start = comma + 1;
  }
  extensions.push_back(value.substr(start));
}

bool applyOptions(ConversionOptions& options, const std::vector<std::string>& args) {
  // A value is visited in its turn as well, so "-pn -ext h" both names the
  // project "-ext" and adds the extension h.
  for (std::size_t i = 1; i < args.size(); ++i) {
    const OptionSpec* option = optionNamed(args[i]);
    if (option == nullptr) continue;
    if (switchesModeOn(option->id)) options.realProject.enabled = true;
    if (option->kind == OptionKind::Flag) {
      apply(options, *option, {});
      continue;
    }
    if (option->kind == OptionKind::Pair) {
      if (i + 2 >= args.size() || args[i + 1].empty() || args[i + 2].empty()) {
        throw Failure(FailureKind::MissingValue, std::string(option->name));
      }
      applyPair(options, *option, args[i + 1], args[i + 2]);
      continue;
    }
    const bool hasValue = i + 1 < args.size();
    if (option->kind == OptionKind::Classic) {
      if (!hasValue) return false;
    } else if (!hasValue || (args[i + 1].empty() && !takesEmptyValue(option->id))) {
      throw Failure(FailureKind::MissingValue, std::string(option->name));
    }
    apply(options, *option, args[i + 1]);
  }
  return true;
}
