#include "building/compiler_commands.h"

#include <algorithm>

#include "building/spec_choice.h"
#include "reading/build_markers.h"

namespace {

// Expanded on its own: each entry stays within the bounds of one text, as
// make's result is the same whether a variable is put in before or after
// the entries are joined.
std::string expanded(std::string_view text, VariableExpander& variables) {
  // Nearly every entry has no "${" to write as "$(": no copy for it.
  if (text.find("${") == std::string_view::npos) return variables.expand(text);
  return variables.expand(parenthesised(text));
}

// The same appended to `out`, after a space unless it is the first.
void appendExpanded(std::string_view text, VariableExpander& variables, std::string& out) {
  if (!out.empty()) out += ' ';
  if (text.find("${") == std::string_view::npos) return variables.expandAppend(text, out);
  variables.expandAppend(parenthesised(text), out);
}

// The entries that belong to the build spec, each expanded, joined by
// spaces as Workbench joins them into the Makefile.
std::string joined(const std::vector<SpecValue>& entries, const std::string& spec,
                   VariableExpander& variables) {
  std::string text;
  for (const auto& entry : entries) {
    if (belongsToSpec(entry.spec, spec)) appendExpanded(entry.value, variables, text);
  }
  return text;
}

std::string toolFlag(const WorkbenchFacts& facts, std::string_view tool, std::string_view part,
                     const std::string& spec) {
  std::string value;
  for (const auto& entry : facts.toolFlags) {
    if (entry.tool == tool && entry.part == part && belongsToSpec(entry.spec, spec)) {
      value = entry.value;
    }
  }
  return value;
}

struct Recipe {
  ToolRecipe parts;
  std::string text;   // recipeText
  std::string lists;  // listsNotNamed
};

Recipe recipeOf(const CompilerCommandInputs& in, const std::string& command,
                std::string_view tool, const std::string& defines, const std::string& includes,
                VariableExpander& variables, CompilerSettings& settings) {
  const std::string_view debug = in.debugMode ? keys::kDebugFlags : keys::kNonDebugFlags;
  Recipe recipe{{expanded(command, variables),
                 expanded(toolFlag(in.facts, tool, keys::kFlags, in.spec), variables),
                 expanded(toolFlag(in.facts, tool, debug, in.spec), variables), defines, includes},
                {},
                {}};
  bool cut = false;
  recipe.text = recipeText(recipe.parts, &cut);
  recipe.lists = listsNotNamed(recipe.parts);
  if (cut) settings.cutCommands.push_back({std::string(tool), recipeBound(recipe.parts)});
  return recipe;
}

// Whether the lists alone give the compiler an include folder or a macro.
bool listsDefineAny(const ToolRecipe& parts) {
  if (parts.defines.empty() && parts.includes.empty()) return false;
  const CompilerInvocation alone = invocationOf("''", parts.defines + " " + parts.includes);
  return !alone.includes.empty() || !alone.macros.empty();
}

// The recipe's invocation; where no command of it can be told to compile
// the source, the lists alone (and the flags), as for a tool without a
// command, and the tool is named; likewise where the command that
// compiles takes none of the lists.
CompilerInvocation invocationFor(const Recipe& recipe, std::string_view tool,
                                 VariableExpander& variables, CompilerSettings& settings) {
  CompilerInvocation invocation = invocationOf(recipe.text, recipe.lists);
  const bool hasCommand = !recipe.parts.command.empty();
  if (hasCommand && invocation.command == 0) {
    settings.untold.emplace_back(tool);
    ToolRecipe alone = recipe.parts;
    alone.command.clear();
    const std::size_t commands = invocation.commands;
    invocation = invocationOf(recipeText(alone), listsNotNamed(alone));
    invocation.command = 0;
    invocation.commands = commands;
  } else if (hasCommand && invocation.includes.empty() && invocation.macros.empty() &&
             listsDefineAny(recipe.parts)) {
    settings.takesNoLists.emplace_back(tool);
  }
  for (const unsigned char id : invocation.splitBy) {
    std::string name = variables.markedValueOf(id);
    if (std::find(settings.splitValues.begin(), settings.splitValues.end(), name) ==
        settings.splitValues.end()) {
      settings.splitValues.push_back(std::move(name));
    }
  }
  return invocation;
}

}  // namespace

CompilerSettings compilerSettingsOf(const CompilerCommandInputs& in, VariableExpander& variables) {
  const std::string defines = joined(in.facts.defines, in.spec, variables);
  std::string includes;
  for (const auto& entry : in.includes) appendExpanded(entry, variables, includes);
  CompilerSettings settings;
  const Recipe cRecipe =
      recipeOf(in, in.cCommand, keys::kCCompiler, defines, includes, variables, settings);
  const Recipe cxxRecipe =
      recipeOf(in, in.cxxCommand, keys::kCxxCompiler, defines, includes, variables, settings);
  settings.c = invocationFor(cRecipe, keys::kCCompiler, variables, settings);
  // Without commands of their own (or with the same one) both languages
  // compile alike: the words of a long command are cut once.
  settings.cxxAsC = cxxRecipe.text == cRecipe.text && cxxRecipe.lists == cRecipe.lists;
  if (settings.cxxAsC) {
    for (auto* tools : {&settings.untold, &settings.takesNoLists}) {
      if (!tools->empty()) tools->emplace_back(keys::kCxxCompiler);
    }
  } else {
    settings.cxx = invocationFor(cxxRecipe, keys::kCxxCompiler, variables, settings);
  }
  settings.cCommandDefinesNone = in.cCommand.empty() || settings.c.macros.empty();
  return settings;
}

// A value both languages share is counted once.
void countMacroValues(const CompilerSettings& settings, VariableExpander& variables) {
  for (const auto& [name, value] : settings.c.macros) {
    variables.countLeft(value, VariableExpander::MacroValue);
  }
  if (settings.cxxAsC) return;
  for (const auto& [name, value] : settings.cxx.macros) {
    const auto same = settings.c.macros.find(name);
    if (same == settings.c.macros.end() || same->second != value) {
      variables.countLeft(value, VariableExpander::MacroValue);
    }
  }
}

bool analyserTakesCxx(const CompilerSettings& settings, std::size_t ownC, std::size_t ownCxx) {
  return (ownCxx > 0 && ownC == 0) || settings.cCommandDefinesNone;
}
