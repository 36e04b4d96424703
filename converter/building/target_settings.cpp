#include "building/target_settings.h"

#include <map>
#include <tuple>

#include "building/compiler_invocation.h"
#include "building/spec_choice.h"
#include "reading/build_markers.h"

namespace {

constexpr auto npos = std::string_view::npos;

// The key's parts between its bars: "Tool|C-Compiler|cmd|S" is four.
std::vector<std::string_view> partsOf(std::string_view key) {
  std::vector<std::string_view> parts;
  for (std::size_t from = 0;;) {
    const std::size_t bar = key.find('|', from);
    parts.push_back(key.substr(from, bar == npos ? npos : bar - from));
    if (bar == npos) return parts;
    from = bar + 1;
  }
}

// The build spec of a list's key, "Incl|S" or "Definess|S" (empty: for none);
// false for another key.
bool listOf(std::string_view key, std::string_view name, std::string_view& spec) {
  if (!key.starts_with(name)) return false;
  key.remove_prefix(name.size());
  if (!key.empty() && key.front() != '|') return false;
  spec = key.empty() ? key : key.substr(1);
  return true;
}

// One level's entries put over those of the levels outside it.
bool putOver(const OwnAttributes& own, const std::string& spec, TargetEntries& entries) {
  std::optional<std::vector<std::string>> includes;
  std::optional<std::vector<SpecValue>> defines;
  for (const auto& list : own.lists) {
    std::string_view listSpec;
    if (listOf(list.key, keys::kIncludes, listSpec) && belongsToSpec(listSpec, spec)) {
      if (!includes) includes.emplace();
      includes->insert(includes->end(), list.values.begin(), list.values.end());
    } else if (listOf(list.key, keys::kDefines, listSpec) && belongsToSpec(listSpec, spec)) {
      if (!defines) defines.emplace();
      for (const auto& value : list.values) defines->push_back({std::string(listSpec), value});
    }
  }
  bool any = includes || defines;
  if (includes) entries.includes = std::move(includes);
  if (defines) entries.defines = std::move(defines);
  for (const auto& [key, value] : own.values) {
    const std::vector<std::string_view> parts = partsOf(key);
    const std::string_view entrySpec = parts.size() > 3 ? parts[3] : std::string_view();
    if (parts[0] == keys::kGlobalMacro && parts.size() == 2) {
      entries.macros.emplace_back(parts[1], parenthesised(value));
    } else if (parts[0] == keys::kMacro && parts.size() >= 3 && parts[2] == keys::kMacroValue &&
               belongsToSpec(entrySpec, spec)) {
      entries.macros.emplace_back(parts[1], parenthesised(value));
    } else if (parts[0] == keys::kTool && parts.size() >= 3 && belongsToSpec(entrySpec, spec) &&
               (parts[1] == keys::kCCompiler || parts[1] == keys::kCxxCompiler)) {
      if (parts[2] == keys::kCommand) {
        (parts[1] == keys::kCCompiler ? entries.cCommand : entries.cxxCommand) = value;
      } else if (parts[2] == keys::kFlags || parts[2] == keys::kDebugFlags ||
                 parts[2] == keys::kNonDebugFlags) {
        entries.toolFlags.push_back(
            {std::string(parts[1]), std::string(parts[2]), std::string(entrySpec), value});
      } else {
        continue;
      }
    } else {
      continue;
    }
    any = true;
  }
  return any;
}

// What a set of entries says, as one text: equal texts compose alike.
std::string keyOf(const TargetEntries& entries) {
  std::string key = entries.target;
  const auto add = [&key](std::string_view text) { key.append(1, '\0').append(text); };
  for (const auto& level : entries.levels) add(level);
  add(entries.includes ? "I" : "-");
  if (entries.includes) {
    for (const auto& include : *entries.includes) add(include);
  }
  add(entries.defines ? "D" : "-");
  if (entries.defines) {
    for (const auto& define : *entries.defines) add(define.value);
  }
  add(entries.cCommand ? "C" + *entries.cCommand : "-");
  add(entries.cxxCommand ? "X" + *entries.cxxCommand : "-");
  for (const auto& flag : entries.toolFlags) {
    for (const auto* text : {&flag.tool, &flag.part, &flag.spec, &flag.value}) add(*text);
  }
  for (const auto& [name, value] : entries.macros) add(name), add(value);
  return key;
}

}  // namespace

TargetEntries targetEntriesOf(const FileAttributes& attributes, const std::string& spec) {
  TargetEntries entries;
  if (attributes.target != nullptr) entries.target = attributes.target->name;
  const std::pair<const char*, const OwnAttributes*> levels[] = {
      {"target", attributes.target ? &attributes.target->attributes : nullptr},
      {"folder", attributes.folder ? &attributes.folder->attributes : nullptr},
      {"file", attributes.file ? &attributes.file->attributes : nullptr}};
  for (const auto& [level, own] : levels) {
    if (own != nullptr && putOver(*own, spec, entries)) entries.levels.push_back(level);
  }
  return entries;
}

TargetSettingsPlan planTargetSettings(
    const std::vector<std::pair<std::string, FileAttributes>>& attributed, const std::string& spec,
    std::size_t maxSets) {
  TargetSettingsPlan plan;
  constexpr std::size_t none = ~std::size_t{0}, past = none - 1;
  std::map<std::tuple<const void*, const void*, const void*>, std::size_t> seen;
  std::map<std::string, std::size_t> made;  // by what the entries say
  for (const auto& [file, attributes] : attributed) {
    auto [place, added] =
        seen.try_emplace(std::make_tuple(attributes.target, attributes.folder, attributes.file), none);
    if (added) {
      TargetEntries entries = targetEntriesOf(attributes, spec);
      if (!entries.levels.empty()) {
        auto [known, isNew] = made.try_emplace(keyOf(entries), plan.sets.size());
        if (isNew && plan.sets.size() >= maxSets) {
          made.erase(known);
          place->second = past;
        } else {
          place->second = known->second;
          if (isNew) plan.sets.push_back(std::move(entries));
        }
      }
    }
    if (place->second == past) ++plan.leftOver;
    else if (place->second != none) plan.files.emplace_back(file, place->second);
  }
  return plan;
}
