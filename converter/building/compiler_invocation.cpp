#include "building/compiler_invocation.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "building/compiler_defines.h"
#include "building/compiler_program.h"
#include "text/shell_recipe.h"
#include "text/variable_references.h"

namespace {

constexpr auto npos = std::string::npos;

// Whether the word is nothing but references: make would leave nothing.
bool onlyReferences(std::string_view word) {
  // Nearly every word begins with something else: no scan for it.
  if (!word.starts_with('$')) return false;
  std::size_t covered = 0;
  forEachMakeReference(word, [&](std::size_t begin, std::size_t end, std::string_view) {
    if (begin == covered) covered = end;
  });
  return covered == word.size();
}

// "-DX=" kept apart from "-DX", unlike the default mode's reading
// (CompilerInvocation::macros says how).
void define(std::map<std::string, std::string>& macros, std::string_view argument) {
  const Definition definition = readDefinition(argument);
  const std::string name(definition.name);
  if (name.empty()) return;
  macros.erase(name);
  macros.erase(name + "=");
  if (!definition.value) {
    macros[name];
  } else if (definition.value->empty()) {
    macros[name + "="];
  } else {
    macros[name] = std::string(*definition.value);
  }
}

void undefine(std::map<std::string, std::string>& macros, std::string_view name) {
  macros.erase(std::string(name));
  macros.erase(std::string(name) + "=");
}

constexpr std::array<std::pair<std::string_view, IncludeKind>, 4> kIncludeOptions{{
    {"-iquote", IncludeKind::Quote},
    {"-isystem", IncludeKind::System},
    {"-idirafter", IncludeKind::After},
    {"-I", IncludeKind::Plain},
}};

// Reads the options after the program.
void readOptions(CompilerInvocation& invocation) {
  const auto& words = invocation.words;
  for (std::size_t i = 1; i < words.size(); ++i) {
    const std::string_view word = words[i];
    if (word.starts_with("-D") || word.starts_with("-U")) {
      std::string_view argument = word.substr(2);
      if (argument.empty()) {
        if (i + 1 == words.size()) break;
        argument = words[++i];
      }
      if (word[1] == 'D') define(invocation.macros, argument);
      else undefine(invocation.macros, argument);
      continue;
    }
    for (const auto& [option, kind] : kIncludeOptions) {
      if (!word.starts_with(option)) continue;
      const bool separate = word.size() == option.size();
      if (separate && i + 1 == words.size()) break;
      std::string folder(separate ? std::string_view(words[i + 1]) : word.substr(option.size()));
      if (kind == IncludeKind::Plain && folder == "-") break;  // the old "-I-": no folder
      invocation.includes.push_back({kind, i, separate, std::move(folder)});
      if (separate) ++i;
      break;
    }
  }
}

}  // namespace

std::size_t recipeBound(const ToolRecipe& recipe) {
  constexpr std::size_t kLeast = std::size_t{4} << 20;
  constexpr std::size_t kPlaceholders = 64;  // the longest lists' placeholders and their fill
  const std::size_t once = recipe.command.size() + recipe.toolFlags.size() +
                           recipe.debugFlags.size() + recipe.defines.size() +
                           recipe.includes.size() + kPlaceholders;
  return std::max(kLeast, 4 * once);
}

std::string listsNotNamed(const ToolRecipe& recipe) {
  std::string lists;
  if (recipe.command.find("%Defines%") == npos) lists = recipe.defines;
  if (recipe.command.find("%Includes%") == npos) lists.append(" ").append(recipe.includes);
  return lists;
}

std::string recipeText(const ToolRecipe& recipe, bool* cut) {
  // No command: the flags alone, after an empty word that stands for the
  // program nobody names.
  const std::string text =
      recipe.command.empty() ? "'' %DebugModeFlags% %ToolFlags%" : recipe.command;
  const std::pair<std::string_view, std::string_view> placeholders[] = {
      {"%ccompilerprefix%", ""},
      {"%cppcompilerprefix%", ""},
      {"%DebugModeFlags%", recipe.debugFlags},
      {"%ToolFlags%", recipe.toolFlags},
      {"%Defines%", recipe.defines},
      {"%Includes%", recipe.includes},
      {"%OutFile%", "\"$@\""},
      {"%InFile%", "\"$<\""},
  };
  // One pass over the command: a value put in is not read again for
  // placeholders, as the Makefile's own variables are not (a define
  // holding "%Includes%" keeps it), and the text grows by each value once
  // per place the command names it.
  // Each placeholder's first place takes its value whatever the size; the
  // places after it only within the bound.
  const std::size_t bound = recipeBound(recipe);
  bool putIn[std::size(placeholders)] = {};
  std::string composed;
  std::size_t done = 0;
  for (std::size_t at = text.find('%'); at != npos; at = text.find('%', at)) {
    const std::string_view rest = std::string_view(text).substr(at);
    const auto named = std::find_if(std::begin(placeholders), std::end(placeholders),
                                    [&](const auto& one) { return rest.starts_with(one.first); });
    if (named == std::end(placeholders)) {
      ++at;
      continue;
    }
    const std::size_t grown = composed.size() + (at - done) + named->second.size();
    bool& again = putIn[named - std::begin(placeholders)];
    if (again && grown > bound) {
      if (cut != nullptr) *cut = true;
      ++at;  // left as written
      continue;
    }
    again = true;
    composed.append(text, done, at - done).append(named->second);
    at += named->first.size();
    done = at;
  }
  return composed.append(text, done);
}

std::string parenthesised(std::string_view text) {
  std::string result(text);
  for (std::size_t open = result.find("${"); open != npos; open = result.find("${", open + 2)) {
    // "$${HOME}" is the shell's: make's "$$" before it. The "$"s before
    // each "${" are counted once, as no run of them reaches another "{".
    std::size_t dollars = 0;
    while (dollars < open && result[open - dollars - 1] == '$') ++dollars;
    if (dollars % 2 == 1) continue;
    const std::size_t close = result.find('}', open + 2);
    if (close == npos) break;
    const std::string_view name = std::string_view(result).substr(open + 2, close - open - 2);
    if (name.empty() || name.find_first_of("${(") != std::string_view::npos) continue;
    result[open + 1] = '(';
    result[close] = ')';
  }
  return result;
}

namespace {

bool namesSource(const std::vector<std::string>& words) {
  return std::any_of(words.begin(), words.end(),
                     [](const std::string& word) { return word.find("$<") != npos; });
}

bool compilesOnly(const std::vector<std::string>& words) {
  return std::find(words.begin(), words.end(), "-c") != words.end();
}

// The simple commands that may compile the source, the first of each kind:
// by whether it runs surely or maybe, and whether it names the source and
// -c, the source only, or -c only.
struct Candidates {
  std::optional<ShellCommand> kinds[2][3];
  std::optional<ShellCommand> onlyOne;  // the recipe's one command, where it names neither
  std::size_t commands = 0;
  bool anyCompiles = false;  // a command that may run has -c

  void take(ShellCommand& command) {
    ++commands;
    if (command.reach == ShellReach::Never) return;
    const bool source = namesSource(command.words);
    const bool compiles = compilesOnly(command.words);
    anyCompiles = anyCompiles || compiles;
    auto& slot = kinds[command.reach == ShellReach::Runs ? 0 : 1][source ? (compiles ? 0 : 1) : 2];
    if (source || compiles) {
      if (!slot) slot = std::move(command);
    } else if (commands == 1) {
      onlyOne = std::move(command);
    }
  }

  // The first that compiles the source: it names the source and, where any
  // command has -c, -c too; without one that names the source, the first
  // with -c. One in a branch whose condition is unknown only where no
  // surer one does. None where commands name the source, one has -c, and
  // none does both.
  std::optional<ShellCommand>* chosen() {
    const auto first = [&](int kind) -> std::optional<ShellCommand>* {
      for (const int reach : {0, 1}) {
        if (kinds[reach][kind]) return &kinds[reach][kind];
      }
      return nullptr;
    };
    if (first(0) || first(1)) return first(anyCompiles ? 0 : 1);
    if (auto* compiles = first(2)) return compiles;
    return commands == 1 && onlyOne ? &onlyOne : nullptr;
  }
};

// The words of every command of `text`, one after the other.
std::vector<std::string> allWords(std::string_view text) {
  std::vector<std::string> words;
  readRecipe(
      text,
      [&](ShellCommand& command) {
        for (auto& word : command.words) words.push_back(std::move(word));
      },
      false);
  return words;
}

bool isOutputOption(const std::string& word) { return word.starts_with("-o"); }

}  // namespace

CompilerInvocation invocationOf(std::string_view expandedRecipe, std::string_view lists) {
  Candidates candidates;
  readRecipe(expandedRecipe, [&](ShellCommand& command) { candidates.take(command); });
  CompilerInvocation invocation;
  invocation.commands = candidates.commands;
  std::optional<ShellCommand>* chosen = candidates.chosen();
  if (chosen == nullptr) return invocation;
  ShellCommand& command = **chosen;
  invocation.command = command.index + 1;
  invocation.maybe = command.reach == ShellReach::Maybe;
  invocation.splitBy = std::move(command.splitBy);
  std::vector<std::string>& words = command.words;
  const std::size_t program = programWordOf(words);
  if (program == words.size()) return invocation;
  invocation.program = programNamed(words[program]);
  // The words kept are moved down in place: a command may hold a hundred
  // thousand of them.
  std::size_t kept = 0;
  for (std::size_t i = program; i < words.size(); ++i) {
    if (i != program && onlyReferences(words[i])) continue;
    if (kept != i) words[kept] = std::move(words[i]);
    ++kept;
  }
  words.resize(kept);
  // Every entry compiles its file: a command that names no source ends
  // with "-c" and the source (its own last "-c" takes it), and one that
  // names no object is given "-o" and the object.
  const bool source = namesSource(words);
  if (!source && words.size() > 1 && words.back() == "-c") words.pop_back();
  for (auto& word : allWords(lists)) {
    if (!onlyReferences(word)) words.push_back(std::move(word));
  }
  const bool object = std::any_of(words.begin() + 1, words.end(), [](const std::string& word) {
    return word.find("$@") != npos || isOutputOption(word);
  });
  invocation.words = std::move(words);
  // Read before the words put in: a last "-I" with no folder does not take them.
  readOptions(invocation);
  if (!object) invocation.words.insert(invocation.words.end(), {"-o", "$@"});
  if (!source) invocation.words.insert(invocation.words.end(), {"-c", "$<"});
  return invocation;
}

void takeDollarsLiterally(CompilerInvocation& invocation) {
  takeDollarsLiterally(invocation.program);
  for (auto& word : invocation.words) takeDollarsLiterally(word);
  for (auto& include : invocation.includes) takeDollarsLiterally(include.path);
  bool names = false;
  for (auto& [name, value] : invocation.macros) {
    takeDollarsLiterally(value);
    names = names || name.find("$$") != npos;
  }
  if (!names) return;
  // A name holding "$$" (seldom seen) changes: the table is made again.
  std::map<std::string, std::string> macros;
  for (auto& [name, value] : invocation.macros) {
    std::string literal = name;
    takeDollarsLiterally(literal);
    macros.emplace(std::move(literal), std::move(value));
  }
  invocation.macros = std::move(macros);
}
