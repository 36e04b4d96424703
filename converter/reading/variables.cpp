#include "reading/variables.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr auto npos = std::string_view::npos;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

VariableExpander::VariableExpander(const std::vector<std::pair<std::string, std::string>>& values,
                                   const LookupTable& buildMacros, Environment environment)
    : buildMacros(buildMacros), environment(std::move(environment)) {
  for (const auto& [name, value] : values) given[name] = value;
}

std::optional<std::string_view> VariableExpander::valueOf(std::string_view name) {
  if (!lastName.empty() && name == lastName) return lastValue;
  lastName = name;
  lastValue = lookUp(name);
  return lastValue;
}

std::optional<std::string_view> VariableExpander::lookUp(std::string_view name) {
  const std::string_view known = looked.get(name);
  if (!known.empty()) {
    if (known[0] == '!') return std::nullopt;
    return known.substr(1);
  }
  std::optional<std::string> value;
  if (const auto found = given.find(std::string(name)); found != given.end()) {
    value = found->second;
  } else if (const std::string_view macro = buildMacros.get(name); !macro.empty()) {
    value = std::string(macro);
  } else if (environment) {
    value = environment(std::string(name));
  }
  looked.set(name, value ? "=" + *value : std::string("!"));
  if (!value) return std::nullopt;
  return looked.get(name).substr(1);
}

// Calls `use` with each $(NAME) of `value`: where it begins, where it ends
// and the name.
template <typename Use>
void forEachReference(std::string_view value, Use use) {
  for (std::size_t pos = 0;;) {
    const std::size_t open = value.find("$(", pos);
    const std::size_t close = open == npos ? npos : value.find(')', open + 2);
    if (close == npos) return;
    use(open, close + 1, value.substr(open + 2, close - open - 2));
    pos = close + 1;
  }
}

void VariableExpander::expandInPlace(std::string& value) {
  if (value.find("$(") == npos) return;
  bool resolves = false;
  forEachReference(value, [&](std::size_t, std::size_t, std::string_view name) {
    resolves = resolves || (!name.empty() && valueOf(name));
  });
  if (resolves) value = expand(value);
}

std::string VariableExpander::expand(std::string_view value) {
  std::string result;
  std::size_t done = 0;
  forEachReference(value, [&](std::size_t begin, std::size_t end, std::string_view name) {
    const auto found = name.empty() ? std::nullopt : valueOf(name);
    if (!found) return;
    result.append(value.substr(done, begin - done));
    result += *found;
    done = end;
  });
  result.append(value.substr(done));
  return result;
}

void VariableExpander::countUnresolved(std::string_view expanded, Use use) {
  if (expanded.find("$(") == npos) return;
  // A name is counted once per text: texts name a few variables at most.
  std::string_view counted[8];
  std::size_t seen = 0;
  forEachReference(expanded, [&](std::size_t, std::size_t, std::string_view name) {
    if (name.empty() || valueOf(name)) return;
    if (std::find(counted, counted + seen, name) != counted + seen) return;
    if (seen < std::size(counted)) counted[seen++] = name;
    auto entry = std::find_if(missing.begin(), missing.end(),
                              [&](const Unresolved& u) { return u.name == name; });
    if (entry == missing.end()) entry = missing.insert(missing.end(), {std::string(name), {0, 0}});
    ++entry->count[use];
  });
}

std::vector<std::string> shellWords(std::string_view text) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < text.size() &&
               (text[i + 1] == '"' || text[i + 1] == '\\')) word += text[++i];
      else word += c;
    } else if (isSpace(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      inWord = true;
      if (c == '"' || c == '\'') quote = c;
      else if (c == '\\' && i + 1 < text.size()) word += text[++i];
      else word += c;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
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
