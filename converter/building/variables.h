// Workbench variables, $(NAME), in include paths, macro values and compiler
// commands: given with -var, else a build macro of the chosen build spec,
// else one that Workbench itself defines for a build (the project folder,
// say), else the environment. A value that names variables is expanded in
// turn, as make does. What cannot be expanded stays as written and is
// counted, so that every "$(" left in the output can be named in a warning:
// a variable without a value, one that refers to itself, and one whose value
// would make a text longer than kMaxTextSize.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "text/hash_index.h"
#include "text/lookup_table.h"

using Environment = std::function<std::optional<std::string>(const std::string& name)>;
using VariableValues = std::vector<std::pair<std::string, std::string>>;

class VariableExpander {
 public:
  // `given` the command line's, each name once (the last given); `workbench`
  // the variables Workbench defines for the build; `targetMacros`, when
  // given, a build target's own macros, which win over `buildMacros`.
  VariableExpander(const VariableValues& given, const LookupTable& buildMacros,
                   Environment environment, const VariableValues& workbench = {},
                   const LookupTable* targetMacros = nullptr);

  enum Use { IncludePath = 0, MacroValue = 1 };

  // The value with every variable that can be expanded expanded.
  std::string expand(std::string_view value);
  // The same appended to `out`, bounded as a text of its own: a long list
  // of entries is joined without a string for each.
  void expandAppend(std::string_view value, std::string& out);
  // The same in place; the text is only rebuilt when it names a variable.
  void expandInPlace(std::string& value);

  // Why a "$(" was left in a text.
  enum class Reason { Unresolved, RefersToItself, TooDeep, TooLong, Malformed };
  struct Left {
    std::string name;  // the variable; for Malformed, the reference as written
    Reason reason;
    std::size_t count[2] = {0, 0};  // texts, by Use
  };
  // Counts, against `use`, each reason a "$(" is left in `expanded` (each
  // name once per text).
  void countLeft(std::string_view expanded, Use use);
  // In the order they were first met.
  const std::vector<Left>& left() const { return leftOver; }

  // Where a variable's value comes from, for whoever reports them;
  // PathVariable (a variable of the project description) only in link
  // locations, which are resolved apart.
  enum class Source { None, Given, BuildMacro, Workbench, Environment, PathVariable };

  // Every variable looked up so far, in the order first met: its whole
  // expansion (nothing where it has none, or cannot be expanded) and where
  // its value came from.
  struct Reference {
    std::string name;
    std::optional<std::string> value;
    Source source;
  };
  std::vector<Reference> references() const;

  // A -var or environment value that holds white space has it marked
  // (kSplitMark in text/shell_recipe.h) with an ID, so that a command split
  // as make splits it can tell whose value it split: the variable of an ID.
  std::string markedValueOf(unsigned char id) const;

  static constexpr std::size_t kMaxTextSize = std::size_t{4} << 20;   // one expanded text
  static constexpr std::size_t kMaxGrowth = std::size_t{256} << 20;  // all expansions together
  static constexpr int kMaxDepth = 64;  // variables within variables

 private:
  struct Entry {
    enum State { Unseen, Expanding, Expanded, NoValue, RefersToItself, TooDeep };
    State state = Unseen;
    Source source = Source::None;
    std::string value;  // Expanded: the whole expansion
    // Its place in leftOver once counted: a resolved name has one reason
    // for being left, so its count needs no look-up of its own.
    std::size_t leftAt = kNotLeft;
  };
  static constexpr std::size_t kNotLeft = ~std::size_t{0};
  struct Met {
    std::string name;
    Entry entry;
  };

  Entry& entryFor(std::string_view name, int depth);
  Met& metNamed(std::string_view name);
  std::optional<std::string> rawValue(std::string_view name, Source& source);
  std::string markedValue(std::string_view name, std::string value);
  void expandInto(std::string_view text, int depth, std::string& out);
  static Reason reasonFor(const Entry& entry);
  std::size_t leftIndex(std::string_view name, Reason reason, std::size_t& at);

  VariableValues given;  // each name once
  const LookupTable& buildMacros;
  const LookupTable* targetMacros;
  Environment environment;
  VariableValues workbench;
  // Every variable looked up, in the order first met; a deque, since
  // entries being expanded are held by address while others are added.
  std::deque<Met> met;
  HashIndex metIndex;  // of `met`, by name
  std::size_t lastAt = 0;  // the place in `met` of the name found last
  std::vector<Entry*> expanding;  // the variables being expanded, outermost first
  std::size_t growth = 0;
  std::vector<Left> leftOver;
  std::unordered_map<std::string, std::size_t> malformedAt;  // by the reference as written
  std::vector<std::string> marked;  // the variables of the IDs, from 1
};
