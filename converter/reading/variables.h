// Workbench variables, $(NAME), in include paths and macro values: given
// with -var, else a build macro of the chosen spec, else the environment.
// Each is looked up once, so a value that names a variable is never expanded
// again: no loop, whatever refers to what.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "reading/lookup_table.h"

using Environment = std::function<std::optional<std::string>(const std::string& name)>;

class VariableExpander {
 public:
  // `given` in the order of the command line (a later one wins).
  VariableExpander(const std::vector<std::pair<std::string, std::string>>& given,
                   const LookupTable& buildMacros, Environment environment);

  enum Use { IncludePath = 0, MacroValue = 1 };

  // The value with every variable that has a value replaced; the others
  // stay as written.
  std::string expand(std::string_view value);
  // The same in place; the text is only rebuilt when a variable has a value.
  void expandInPlace(std::string& value);

  // Counts, against `use`, each variable without a value that `expanded`
  // still names (once per text).
  void countUnresolved(std::string_view expanded, Use use);

  struct Unresolved {
    std::string name;
    std::size_t count[2] = {0, 0};  // by Use
  };
  // In the order they were first met.
  const std::vector<Unresolved>& unresolved() const { return missing; }

 private:
  // The variable's value, or nothing when it has none.
  std::optional<std::string_view> valueOf(std::string_view name);
  std::optional<std::string_view> lookUp(std::string_view name);

  std::map<std::string, std::string> given;
  const LookupTable& buildMacros;
  Environment environment;
  std::vector<Unresolved> missing;
  // Each name is looked up once: "=" and its value, or "!" for none. Paths
  // by the hundred thousand name the same few variables.
  LookupTable looked;
  std::string lastName;  // the name looked up last, and its value: texts by the
  std::optional<std::string_view> lastValue;  // thousand name the same one
};

// Words of a command-line fragment as a shell splits them: white space
// separates, double and single quotes group (and are removed), a backslash
// keeps the next character.
std::vector<std::string> shellWords(std::string_view text);

// Every -D definition among `words` ("-DNAME", "-DNAME=VALUE", or "-D" and
// the definition as the next word) set in `macros`.
void defineFromWords(const std::vector<std::string>& words,
                     std::map<std::string, std::string>& macros);
