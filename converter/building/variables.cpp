#include "building/variables.h"

#include "text/shell_recipe.h"
#include "text/variable_references.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr auto npos = std::string_view::npos;


}  // namespace

VariableExpander::VariableExpander(const VariableValues& values, const LookupTable& buildMacros,
                                   Environment environment, const VariableValues& workbench,
                                   const LookupTable* targetMacros)
    : given(values),
      buildMacros(buildMacros),
      targetMacros(targetMacros),
      environment(std::move(environment)),
      workbench(workbench) {}

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Each white space character of `value` marked with `id`.
std::string marked(const std::string& value, unsigned char id) {
  std::string text;
  for (const char c : value) {
    if (isWhiteSpace(c)) text.append({kKeep, kSplitMark, static_cast<char>(id)});
    text += c;
  }
  return text;
}

}  // namespace

// A value given or from the environment, its white space marked.
std::string VariableExpander::markedValue(std::string_view name, std::string value) {
  if (std::none_of(value.begin(), value.end(), isWhiteSpace)) return value;
  // IDs are bytes: a 255th variable and those after it share the last.
  if (marked.size() < 255) marked.emplace_back(name);
  return ::marked(value, static_cast<unsigned char>(marked.size()));
}

std::string VariableExpander::markedValueOf(unsigned char id) const {
  return id >= 1 && id <= marked.size() ? marked[id - 1] : std::string();
}

std::optional<std::string> VariableExpander::rawValue(std::string_view name, Source& source) {
  for (const auto& [known, value] : given) {
    if (known != name) continue;
    source = Source::Given;
    return markedValue(name, value);
  }
  // A build target's own macros are make's variables of its objects: over
  // the file's, under the command line's.
  if (targetMacros != nullptr && targetMacros->contains(name)) {
    source = Source::BuildMacro;
    return std::string(targetMacros->get(name));
  }
  // An empty build macro is a variable make expands to nothing.
  if (buildMacros.contains(name)) {
    source = Source::BuildMacro;
    return std::string(buildMacros.get(name));
  }
  for (const auto& [known, value] : workbench) {
    if (known != name) continue;
    source = Source::Workbench;
    return value;
  }
  if (environment) {
    if (auto value = environment(std::string(name))) {
      source = Source::Environment;
      return markedValue(name, std::move(*value));
    }
  }
  return std::nullopt;
}

// Each name is looked up and expanded once: paths by the hundred thousand
// name the same few variables.
VariableExpander::Met& VariableExpander::metNamed(std::string_view name) {
  // Texts by the thousand name the same variable one after the other, and
  // the counting meets the names again in the order the expansion first met
  // them: the one found last and the next are looked at before the table.
  for (const std::size_t at : {lastAt, lastAt + 1}) {
    if (at < met.size() && met[at].name == name) {
      lastAt = at;
      return met[at];
    }
  }
  const std::size_t found =
      metIndex.findOrAdd(std::hash<std::string_view>{}(name), met.size(),
                      [&](std::size_t place) { return met[place].name == name; });
  if (found != HashIndex::npos) {
    lastAt = found;
    return met[lastAt];
  }
  met.push_back({std::string(name), Entry{}});
  lastAt = met.size() - 1;
  return met.back();
}

VariableExpander::Entry& VariableExpander::entryFor(std::string_view name, int depth) {
  Entry& entry = metNamed(name).entry;
  if (entry.state == Entry::Expanding) {
    // A loop: every variable from this one inwards refers to itself.
    for (auto open = expanding.rbegin(); open != expanding.rend(); ++open) {
      (*open)->state = Entry::RefersToItself;
      if (*open == &entry) break;
    }
    return entry;
  }
  if (entry.state != Entry::Unseen) return entry;
  const std::optional<std::string> raw = rawValue(name, entry.source);
  if (!raw) {
    entry.state = Entry::NoValue;
    return entry;
  }
  if (depth >= kMaxDepth && holdsMakeReference(*raw)) {
    entry.state = Entry::TooDeep;
    return entry;
  }
  entry.state = Entry::Expanding;
  expanding.push_back(&entry);
  std::string value;
  expandInto(*raw, depth + 1, value);
  expanding.pop_back();
  if (entry.state == Entry::Expanding) {
    entry.state = Entry::Expanded;
    entry.value = std::move(value);
  }
  return entry;
}

// Appends `text` to `out` with each variable that has a whole expansion
// replaced by it, unless that would make the text, or all expansions
// together, grow past their bounds.
void VariableExpander::expandInto(std::string_view text, int depth, std::string& out) {
  const std::size_t base = out.size();
  std::size_t done = 0;
  forEachMakeReference(text, [&](std::size_t begin, std::size_t end, std::string_view name) {
    if (!isVariableName(name)) return;
    const Entry& entry = entryFor(name, depth);
    if (entry.state != Entry::Expanded) return;
    const std::size_t reference = end - begin;
    const std::size_t grows = entry.value.size() > reference ? entry.value.size() - reference : 0;
    if (out.size() - base + (begin - done) + entry.value.size() > kMaxTextSize ||
        growth + grows > kMaxGrowth) {
      return;
    }
    growth += grows;
    out.append(text.substr(done, begin - done)).append(entry.value);
    done = end;
  });
  out.append(text.substr(done));
}

void VariableExpander::expandInPlace(std::string& value) {
  if (!holdsMakeReference(value)) return;
  bool expands = false;
  forEachMakeReference(value, [&](std::size_t, std::size_t, std::string_view name) {
    expands = expands || (isVariableName(name) && entryFor(name, 0).state == Entry::Expanded);
  });
  if (expands) value = expand(value);
}

std::string VariableExpander::expand(std::string_view value) {
  std::string result;
  expandInto(value, 0, result);
  return result;
}

void VariableExpander::expandAppend(std::string_view value, std::string& out) {
  expandInto(value, 0, out);
}

std::vector<VariableExpander::Reference> VariableExpander::references() const {
  std::vector<Reference> all;
  all.reserve(met.size());
  for (const auto& [name, entry] : met) {
    // As make expands it, without the marks the commands are read with.
    std::optional<std::string> value;
    if (entry.state == Entry::Expanded) {
      value = withoutMarks(entry.value);
      takeDollarsLiterally(*value);
    }
    all.push_back({name, std::move(value), entry.source});
  }
  return all;
}

VariableExpander::Reason VariableExpander::reasonFor(const Entry& entry) {
  switch (entry.state) {
    case Entry::NoValue: return Reason::Unresolved;
    case Entry::RefersToItself: return Reason::RefersToItself;
    case Entry::TooDeep: return Reason::TooDeep;
    default: return Reason::TooLong;  // it has a value, yet was not put in
  }
}

// The place in leftOver of `name` left for `reason`, added when new.
std::size_t VariableExpander::leftIndex(std::string_view name, Reason reason, std::size_t& at) {
  if (at == kNotLeft) {
    at = leftOver.size();
    leftOver.push_back({std::string(name), reason});
  }
  return at;
}

void VariableExpander::countLeft(std::string_view expanded, Use use) {
  if (!holdsMakeReference(expanded)) return;
  // A name counts once per text, as far as the first eight names of the
  // text are remembered (texts name a few variables at most); a name after
  // those counts at each of its references.
  std::size_t counted[8];
  std::size_t seen = 0;
  auto count = [&](std::size_t at) {
    for (std::size_t i = 0; i < seen; ++i) {
      if (counted[i] == at) return;
    }
    if (seen < std::size(counted)) counted[seen++] = at;
    ++leftOver[at].count[use];
  };
  // Looked up by hash: texts may name a hundred thousand variables nobody
  // defines, or as many malformed references.
  auto malformed = [&](std::string_view reference) {
    const auto [at, added] = malformedAt.try_emplace(std::string(reference), kNotLeft);
    count(leftIndex(reference, Reason::Malformed, at->second));
  };
  const std::size_t last =
      forEachMakeReference(expanded, [&](std::size_t begin, std::size_t end, std::string_view name) {
        if (!isVariableName(name)) return malformed(expanded.substr(begin, end - begin));
        Entry& entry = entryFor(name, 0);
        count(leftIndex(name, reasonFor(entry), entry.leftAt));
      });
  // A reference without its closing parenthesis runs to the end of the text.
  const std::size_t open = makeReferenceAt(expanded, last);
  if (open != npos) malformed(expanded.substr(open, 24));
}
