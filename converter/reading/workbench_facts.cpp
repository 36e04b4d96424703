#include "reading/workbench_facts.h"

#include "reading/build_markers.h"
#include "text/entities.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <vector>

namespace {

constexpr auto npos = std::string_view::npos;

// The key of an entry whose key begins "BLD::Info|" + `start`: the text
// after `start` up to the key's closing quote; false for another key.
bool keyRest(std::string_view line, std::string_view start, std::string_view& rest) {
  const std::size_t key = line.find(kKeyText);
  if (key == npos) return false;
  const std::string_view after = line.substr(key + kKeyText.size());
  if (!after.starts_with(start)) return false;
  const std::string_view tail = after.substr(start.size());
  rest = tail.substr(0, tail.find('"'));
  return true;
}

// Whether a tag in the line may be <buildtargets>: most lines hold one or
// two tags, and this looks at each tag's first letter only.
bool mayOpenTargets(std::string_view line) {
  for (std::size_t open = line.find('<'); open != npos; open = line.find('<', open + 1)) {
    if (line.substr(open + 1).starts_with(keys::kBuildTargets)) return true;
  }
  return false;
}

// Whether the line's key is one of the few single entries read here.
bool isFactKey(std::string_view line) {
  std::string_view rest;
  return keyRest(line, keys::kDefaultSpec, rest) || keyRest(line, keys::kOutputFolder, rest) ||
         keyRest(line, keys::kCCompilerTool, rest) || keyRest(line, keys::kCxxCompilerTool, rest);
}

// "C-Compiler|flags|SPEC" and the like: the flags entries of both compilers.
bool toolFlags(std::string_view rest, ToolValue& tool) {
  for (const std::string_view name : {keys::kCCompiler, keys::kCxxCompiler}) {
    if (!rest.starts_with(name) || !rest.substr(name.size()).starts_with(keys::kBar)) continue;
    std::string_view part = rest.substr(name.size() + keys::kBar.size());
    const std::size_t bar = part.find(keys::kBar);
    const std::string_view spec = bar == npos ? std::string_view() : part.substr(bar + 1);
    part = part.substr(0, bar);
    if (part != keys::kFlags && part != keys::kDebugFlags && part != keys::kNonDebugFlags) return false;
    tool.tool = name;
    tool.part = part;
    tool.spec = spec;
    return true;
  }
  return false;
}

}  // namespace

std::string_view specOfKey(std::string_view key) {
  const auto part = [&](std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
      start = key.find('|', start);
      if (start == std::string_view::npos) return std::string_view();
      ++start;
    }
    return key.substr(start, key.find('|', start) - start);
  };
  const std::string_view first = key.substr(0, key.find('|'));
  if (first == keys::kIncludes) return part(1);
  if (first == keys::kMacro || first == keys::kTool) return part(3);
  return {};
}

bool attributeValue(std::string_view tag, std::string_view name, std::string& value) {
  for (std::size_t at = tag.find(name); at != npos; at = tag.find(name, at + 1)) {
    const bool wordStart = at == 0 || tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '<';
    const std::size_t open = at + name.size();
    if (!wordStart || tag.substr(open, 2) != "=\"") continue;
    const std::size_t close = tag.find('"', open + 2);
    value = decodeEntities(tag.substr(open + 2, close == npos ? npos : close - open - 2));
    return true;
  }
  return false;
}

std::vector<std::string> knownSpecs(const WorkbenchFacts& facts) {
  std::vector<std::string> known;
  std::set<std::string_view> seen;
  const auto add = [&](const std::string& spec) {
    if (seen.insert(spec).second) known.push_back(spec);
  };
  // An empty entry of the list is a spec the file lists, as the default's
  // first spec; keys and defines lists without a spec name none.
  for (const auto& spec : facts.specs) add(spec);
  for (const auto& spec : facts.keySpecs) add(spec);
  for (const auto& entry : facts.defines) {
    if (!entry.spec.empty()) add(entry.spec);
  }
  return known;
}

// Every key of the line, wherever it stands: a spec is known by any key
// that names it.
void WorkbenchFactsReader::keySpecs(std::string_view text) {
  // The quote that ends a key is looked for again only once a key starts
  // past it: a line of a hundred thousand keys and no quote is read once.
  std::size_t quote = 0;
  for (std::size_t at = text.find(keys::kInfo); at != npos; at = text.find(keys::kInfo, at + 1)) {
    const std::size_t start = at + keys::kInfo.size();
    if (quote != npos && quote < start) quote = text.find('"', start);
    const std::string_view spec =
        specOfKey(text.substr(start, quote == npos ? npos : quote - start));
    if (spec.empty() || spec == lastKeySpec) continue;
    lastKeySpec = spec;
    if (keySpecsSeen.insert(lastKeySpec).second) facts.keySpecs.push_back(lastKeySpec);
  }
}

bool WorkbenchFactsReader::insideTargets(const char* at) const {
  const std::less_equal<const char*> notAfter;
  if (at == nullptr || !notAfter(lineText.data(), at) ||
      !notAfter(at, lineText.data() + lineText.size())) {
    return inTargets;
  }
  const std::size_t offset = static_cast<std::size_t>(at - lineText.data());
  bool inside = lineBeganInTargets;
  for (const auto& [where, state] : targetsChanges) {
    if (where <= offset) inside = state;
  }
  return inside;
}

void WorkbenchFactsReader::line(std::string_view text) {
  keySpecs(text);
  lineText = text;
  lineBeganInTargets = inTargets;
  targetsChanges.clear();
  // Most lines are entries of include lists and macros: a quick look tells.
  if (inTargets || mayOpenTargets(text)) targetTags(text);
  // A line wholly inside <buildtargets> was read as the targets' above.
  if (lineBeganInTargets && targetsChanges.empty()) return;
  if (list == List::None) {
    // Only the keys below are read; every other keyed entry (include lists,
    // macros, compiler commands: nearly every line) is done with here.
    const std::size_t key = text.find(kKeyText);
    if (key == npos || insideTargets(text.data() + key)) return;
    const std::string_view after = text.substr(key + kKeyText.size());
    if (!after.starts_with(keys::kDefaultSpec) && !after.starts_with(keys::kOutputFolder) &&
        !after.starts_with(keys::kCCompilerTool) && !after.starts_with(keys::kCxxCompilerTool) &&
        !after.starts_with(keys::kSpecs) && !after.starts_with(keys::kDefines)) {
      return;
    }
  }
  if (list != List::None) {
    std::string value;
    if (text.find(keys::kListEnd) != npos) {
      list = List::None;
    } else if (text.find(keys::kStringName) != npos &&
               attributeValue(text, keys::kValueName, value)) {
      if (list == List::Specs) facts.specs.push_back(std::move(value));
      else facts.defines.push_back({listSpec, std::move(value)});
    }
    return;
  }
  std::string_view rest;
  std::string value;
  if (text.find(keys::kListName) != npos) {
    if (keyRest(text, keys::kSpecs, rest) && rest.empty()) list = List::Specs;
    if (keyRest(text, keys::kDefines, rest)) {
      list = List::Defines;
      listSpec = rest.starts_with('|') ? std::string(rest.substr(1)) : std::string();
    }
    // A list closed on its own line, such as <listAttribute .../>, holds nothing.
    if (list != List::None && text.find("/>") != npos) list = List::None;
  } else if (text.find(keys::kStringName) != npos && isFactKey(text) &&
             attributeValue(text, keys::kValueName, value)) {
    if (keyRest(text, keys::kDefaultSpec, rest) && rest.empty()) {
      facts.defaultSpec = std::move(value);
    } else if (keyRest(text, keys::kOutputFolder, rest)) {
      facts.outputFolders.push_back({rest.starts_with('|') ? std::string(rest.substr(1)) : "",
                                     std::move(value)});
    } else if (keyRest(text, keys::kCxxCompilerCommand, rest)) {
      facts.cxxCommands.push_back({rest.starts_with('|') ? std::string(rest.substr(1)) : "",
                                   std::move(value)});
    } else if (ToolValue tool; keyRest(text, keys::kToolEntry, rest) && toolFlags(rest, tool)) {
      tool.value = std::move(value);
      facts.toolFlags.push_back(std::move(tool));
    }
  }
}

// The project's entries as a target, or a file or folder of its contents,
// sets them for itself: <stringAttribute key="BLD::Info|..." value="..."/>,
// and <listAttribute key="BLD::Info|..."> with its <stringAttribute value=>
// entries.
OwnAttributes& WorkbenchFactsReader::scopeAttributes() {
  BuildTarget& target = facts.targets.back();
  if (scope == Scope::File && !target.fileAttributes.empty()) {
    return target.fileAttributes.back().attributes;
  }
  if (scope == Scope::Folder && !target.folders.empty()) return target.folders.back().attributes;
  return target.attributes;
}

void WorkbenchFactsReader::attributeTag(std::string_view tag, bool isList, bool closed) {
  std::string key, value;
  if (!isList && inTargetList) {
    if (attributeValue(tag, keys::kValueName, value)) {
      OwnAttributes& own = scopeAttributes();
      if (!own.lists.empty()) own.lists.back().values.push_back(std::move(value));
    }
    return;
  }
  if (!attributeValue(tag, keys::kKeyName, key) || !key.starts_with(keys::kInfo)) return;
  key.erase(0, keys::kInfo.size());
  if (isList) {
    scopeAttributes().lists.push_back({std::move(key), {}});
    inTargetList = !closed;
  } else if (attributeValue(tag, keys::kValueName, value)) {
    scopeAttributes().values.emplace_back(std::move(key), std::move(value));
  }
}

// <buildtargets> <buildtarget name="T" buildtool="B"> <attributes>
// <contents> <folder name="/P" recursive="true"> <excludes> <file
// name="f"/> </excludes> </folder> <file name="/P/x.c"> <attributes>
// </file> </contents> </buildtarget>, any number of them to a line.
// A tag ends at its ">" outside quotes, or where the next tag begins when a
// "<" comes first (attribute values hold none); a quote left open ends the
// line's tags. Each part of the line is looked at a bounded number of
// times, so a line of a million "<" takes no longer than one of a million
// letters.
void WorkbenchFactsReader::targetTags(std::string_view text) {
  for (std::size_t open = text.find('<'); open != npos;) {
    std::size_t end = open + 1;
    bool quoted = false;
    while (end < text.size() && (quoted || (text[end] != '<' && text[end] != '>'))) {
      if (text[end] == '"') quoted = !quoted;
      ++end;
    }
    const bool closed = end < text.size() && text[end] == '>';
    const std::string_view tag = text.substr(open, end - open + (closed ? 1 : 0));
    const std::size_t at = open;
    open = closed ? text.find('<', end + 1) : (end < text.size() ? end : npos);
    // Every tag read here begins "<b", "<f", "<e", "<s", "<l" or "</": others at a glance.
    if (tag.size() < 2) continue;
    const char first = tag[1];
    if (first != 'b' && first != 'f' && first != 'e' && first != 's' && first != 'l' && first != '/') {
      continue;
    }
    // Whether the tag opens (or, `closing`, closes) element `name`.
    const auto is = [&](std::string_view name, bool closing = false) {
      const std::size_t start = closing ? 2 : 1;
      if (closing && tag[1] != '/') return false;
      const std::string_view rest = tag.substr(start);
      return rest.starts_with(name) && (rest.size() == name.size() ||
                                        std::string_view(" \t>/").find(rest[name.size()]) != npos);
    };
    const bool selfClosed = tag.ends_with("/>");
    std::string value;
    if (is(keys::kBuildTargets)) {
      inTargets = !selfClosed;
      targetsChanges.emplace_back(at, inTargets);
    } else if (is(keys::kBuildTargets, true)) {
      inTargets = false;
      targetsChanges.emplace_back(at, false);
    } else if (!inTargets) {
      continue;
    } else if (is("buildtarget")) {
      // A target without a name or folders, followed by another, is no
      // target anyone can choose and excludes nothing: one stands for a run
      // of them (a line of a million such tags would hold a million).
      const bool emptyBefore = !facts.targets.empty() && facts.targets.back().name.empty() &&
                               facts.targets.back().folders.empty() &&
                               facts.targets.back().files.empty() &&
                               facts.targets.back().references.empty();
      if (!emptyBefore) {
        facts.targets.push_back({});
      } else if (const BuildTarget& before = facts.targets.back();
                 !before.buildTool.empty() || !before.attributes.empty() ||
                 !before.fileAttributes.empty()) {
        facts.targets.back() = BuildTarget{};
      }
      // Only a named target can be chosen, where its build tool counts.
      if (attributeValue(tag, "name", facts.targets.back().name)) {
        attributeValue(tag, "buildtool", facts.targets.back().buildTool);
      }
      inFolder = inExcludes = inTargetList = false;
      scope = Scope::Target;
    } else if (facts.targets.empty()) {
      continue;
    } else if (is(keys::kStringName) || is(keys::kListName)) {
      attributeTag(tag, tag[1] == 'l', selfClosed);
    } else if (is(keys::kListName, true)) {
      inTargetList = false;
    } else if (is("folder") && attributeValue(tag, "name", value)) {
      std::string recursive;
      attributeValue(tag, "recursive", recursive);
      facts.targets.back().folders.push_back({std::move(value), recursive == "true", {}});
      inFolder = !selfClosed;
      scope = inFolder ? Scope::Folder : Scope::Target;
      inTargetList = false;
    } else if (is("folder", true)) {
      inFolder = inTargetList = false;
      scope = Scope::Target;
    } else if (is("excludes")) {
      inExcludes = !selfClosed;
    } else if (is("excludes", true)) {
      inExcludes = false;
    } else if (is("file", true)) {
      BuildTarget& target = facts.targets.back();
      if (scope == Scope::File && target.fileAttributes.back().attributes.empty()) {
        target.fileAttributes.pop_back();
      }
      scope = inFolder ? Scope::Folder : Scope::Target;
      inTargetList = false;
    } else if (is("buildtargetreference") && attributeValue(tag, "name", value)) {
      facts.targets.back().references.push_back(std::move(value));
    } else if (is("file") && inExcludes && attributeValue(tag, "name", value)) {
      BuildTarget& target = facts.targets.back();
      // Excludes outside any folder belong to the target as a whole.
      if (!inFolder || target.folders.empty()) target.folders.push_back({"", false, {}});
      target.folders.back().excludes.push_back(std::move(value));
    } else if (is("file") && attributeValue(tag, "name", value)) {
      BuildTarget& target = facts.targets.back();
      // A file of a folder is built as the folder is; only its attributes are its own.
      if (!selfClosed) {
        target.fileAttributes.push_back({value, {}});
        scope = Scope::File;
        inTargetList = false;
      }
      if (!inFolder) target.files.push_back(std::move(value));
    }
  }
}
