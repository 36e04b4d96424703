#include "building/compiler_commands.h"

#include "building/compiler_program.h"
#include "building/spec_choice.h"
#include "text/shell_words.h"

namespace {

constexpr auto npos = std::string_view::npos;

bool isBlank(std::string_view text) { return text.find_first_not_of(" \t\r\n\v\f") == npos; }

// The macros of one command, read as make runs it.
void defineFromCommand(const std::string& command, VariableExpander& variables,
                       std::map<std::string, std::string>& macros) {
  defineFromWords(shellWords(variables.expand(command)), macros);
}

}  // namespace

// A value both languages share is counted once.
void expandMacroValues(CompilerSettings& settings, VariableExpander& variables) {
  for (auto& [name, value] : settings.cMacros) {
    value = variables.expand(value);
    variables.countLeft(value, VariableExpander::MacroValue);
  }
  for (auto& [name, value] : settings.cxxMacros) {
    value = variables.expand(value);
    const auto same = settings.cMacros.find(name);
    if (same == settings.cMacros.end() || same->second != value) {
      variables.countLeft(value, VariableExpander::MacroValue);
    }
  }
}

CompilerSettings compilerSettingsOf(const std::vector<std::string>& cCommands,
                                    const std::string& cCompiler, const std::string& cxxCompiler,
                                    const WorkbenchFacts& facts, const std::string& spec,
                                    VariableExpander& variables) {
  CompilerSettings settings;
  for (const auto& command : cCommands) defineFromCommand(command, variables, settings.cMacros);
  settings.cCommandDefinesNone = settings.cMacros.empty();
  for (const auto& command : facts.cxxCommands) {
    if (belongsToSpec(command.spec, spec)) defineFromCommand(command.value, variables, settings.cxxMacros);
  }
  std::map<std::string, std::string> listed;
  for (const auto& entry : facts.defines) {
    if (!belongsToSpec(entry.spec, spec) || isBlank(entry.value)) continue;
    defineFromWords(shellWords(variables.expand(entry.value)), listed);
  }
  for (const auto& [name, value] : listed) {
    settings.cMacros[name] = value;
    settings.cxxMacros[name] = value;
  }
  const auto expand = [&variables](std::string_view word) { return variables.expand(word); };
  settings.cProgram = compilerProgram(cCompiler, expand);
  settings.cxxProgram = compilerProgram(cxxCompiler, expand);
  return settings;
}

const std::map<std::string, std::string>& analyserMacros(const CompilerSettings& settings,
                                                         std::size_t ownC, std::size_t ownCxx) {
  const bool takeCxx = (ownCxx > 0 && ownC == 0) || settings.cCommandDefinesNone;
  return takeCxx ? settings.cxxMacros : settings.cMacros;
}

void defineFromWords(const std::vector<std::string>& words,
                     std::map<std::string, std::string>& macros) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!words[i].starts_with("-D")) continue;
    std::string_view definition = std::string_view(words[i]).substr(2);
    if (definition.empty()) {
      if (i + 1 == words.size()) break;
      definition = words[++i];
    }
    const std::size_t equals = definition.find('=');
    const std::string name(definition.substr(0, equals));
    if (name.empty()) continue;
    macros[name] = equals == npos ? std::string() : std::string(definition.substr(equals + 1));
  }
}
