#include "driver/options.h"

#include "driver/absolute_path.h"
#include "model/failure.h"

namespace {

constexpr OptionSpec kOptions[] = {
#define PLOVIK_OPTION(id, name, value, kind, mode, empty, form) \
  {OptionId::id, name, value, OptionKind::kind, OptionMode::mode, OptionEmpty::empty, form},
#include "driver/options.def"
#undef PLOVIK_OPTION
};

const OptionSpec* optionNamed(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

const OptionSpec& optionOf(OptionId id) { return kOptions[static_cast<std::size_t>(id)]; }

Failure invalidValue(const OptionSpec& option, const std::string& value) {
  return Failure(FailureKind::InvalidValue, std::string(option.name),
                 {value, std::string(option.form)});
}

// NAME=VALUE (VALUE may be empty); FROM=TO for -map.
std::pair<std::string, std::string> assignment(const OptionSpec& option, const std::string& value) {
  const std::size_t equals = value.find('=');
  if (equals == std::string::npos || equals == 0) throw invalidValue(option, value);
  return {value.substr(0, equals), value.substr(equals + 1)};
}

// The number that ends a form text: "1 to 1024" gives 1024.
constexpr unsigned lastNumber(std::string_view text) {
  unsigned number = 0, scale = 1;
  for (std::size_t i = text.size(); i > 0 && text[i - 1] >= '0' && text[i - 1] <= '9'; --i) {
    number += static_cast<unsigned>(text[i - 1] - '0') * scale;
    scale *= 10;
  }
  return number;
}

// More threads than the form's bound help no disk.
constexpr unsigned kMaxJobs =
    lastNumber(kOptions[static_cast<std::size_t>(OptionId::Jobs)].form);
static_assert(kMaxJobs > 1, "the form of -j ends with its bound");

// A whole number from 1 to kMaxJobs.
unsigned jobCount(const OptionSpec& option, const std::string& value) {
  unsigned count = 0;
  for (const char c : value) {
    if (c < '0' || c > '9' || count > kMaxJobs) {
      count = 0;
      break;
    }
    count = count * 10 + static_cast<unsigned>(c - '0');
  }
  if (count == 0 || count > kMaxJobs) throw invalidValue(option, value);
  return count;
}

// A -spec, -target or -var as a workspace run's project takes it.
ProjectSetting projectSetting(OptionId id, const std::string& value) {
  const std::size_t colon = value.find(':');
  if (colon == std::string::npos || (id == OptionId::Variable && colon > value.find('='))) {
    return {id, std::nullopt, value};
  }
  return {id, value.substr(0, colon), value.substr(colon + 1)};
}

// A variable given again takes its last value, in the place it was first
// given: every reader of the list then finds each name once.
void giveVariable(RealProjectOptions& options, std::pair<std::string, std::string> variable) {
  for (auto& given : options.variables) {
    if (given.first != variable.first) continue;
    given.second = std::move(variable.second);
    return;
  }
  options.variables.push_back(std::move(variable));
}

void apply(ConversionOptions& options, const OptionSpec& option, const std::string& value) {
  const auto absolute = [&options](const std::string& path) {
    return absolutePath(path, options.currentDirectory);
  };
  if (option.id == OptionId::ProjectName) options.projectSettings.push_back({option.id, {}, value});
  if (option.id == OptionId::Spec || option.id == OptionId::Target ||
      option.id == OptionId::Variable) {
    options.projectSettings.push_back(projectSetting(option.id, value));
  }
  switch (option.id) {
    case OptionId::ProjectName: options.projectName = value; break;
    case OptionId::MessagePersonality: options.messagePersonality = absolute(value); break;
    case OptionId::AnalyserPersonality: options.analyserPersonality = absolute(value); break;
    case OptionId::CompilerPersonality: options.compilerPersonality = absolute(value); break;
    case OptionId::FileExtensions: addFileExtensions(options.fileExtensions, value); break;
    case OptionId::RealProject: options.realProject.enabled = true; break;
    case OptionId::Spec: options.realProject.spec = value; break;
    case OptionId::Variable: giveVariable(options.realProject, assignment(option, value)); break;
    case OptionId::Map:
      options.realProject.maps.push_back(assignment(option, value));
      break;
    case OptionId::Target: options.realProject.target = value; break;
    case OptionId::Database: options.compilationDatabase = absolute(value); break;
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
    options.workspaceDest = absolutePath(second, options.currentDirectory);
  }
}

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
    if (option->mode == OptionMode::ModeOn) options.realProject.enabled = true;
    if (option->kind == OptionKind::Flag) {
      apply(options, *option, {});
      continue;
    }
    if (option->kind == OptionKind::Pair) {
      if (i + 2 >= args.size() ||
          (option->empty == OptionEmpty::EmptyRefused && (args[i + 1].empty() || args[i + 2].empty()))) {
        throw Failure(FailureKind::MissingValue, std::string(option->name));
      }
      applyPair(options, *option, args[i + 1], args[i + 2]);
      continue;
    }
    const bool hasValue = i + 1 < args.size();
    if (option->kind == OptionKind::Classic && !hasValue) return false;
    if (!hasValue || (args[i + 1].empty() && option->empty == OptionEmpty::EmptyRefused)) {
      throw Failure(FailureKind::MissingValue, std::string(option->name));
    }
    apply(options, *option, args[i + 1]);
  }
  return true;
}

void takeProjectSettings(ConversionOptions& options, const std::string& project,
                         const std::string& outputFolder) {
  options.projectName = project;
  options.realProject.spec.clear();
  options.realProject.target.clear();
  options.realProject.variables.clear();
  for (const ProjectSetting& setting : options.projectSettings) {
    if (setting.project && *setting.project != project &&
        (outputFolder.empty() || *setting.project != outputFolder))
      continue;
    const OptionSpec& option = optionOf(setting.option);
    if (setting.value.empty() && option.empty == OptionEmpty::EmptyRefused) {
      throw Failure(FailureKind::MissingValue, std::string(option.name));
    }
    switch (setting.option) {
      case OptionId::ProjectName: options.projectName = setting.value; break;
      case OptionId::Spec: options.realProject.spec = setting.value; break;
      case OptionId::Target: options.realProject.target = setting.value; break;
      default: giveVariable(options.realProject, assignment(option, setting.value));
    }
  }
}
