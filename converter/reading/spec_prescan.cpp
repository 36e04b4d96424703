#include "reading/spec_prescan.h"

#include "reading/build_markers.h"
#include "reading/line_runs.h"
#include "reading/workbench_facts.h"

namespace {

constexpr auto npos = std::string_view::npos;

// The two keys, after keys::kInfo (which begins both), with their closing quote.
constexpr std::string_view kDefault = joinedText<keys::kDefaultSpec, keys::kQuote>;
constexpr std::string_view kSpecs = joinedText<keys::kSpecs, keys::kQuote>;

// The line of `text` that holds `at`, without its line feed.
std::string_view lineAt(std::string_view text, std::size_t at) {
  const std::size_t begin = text.rfind('\n', at);
  const std::size_t from = begin == npos ? 0 : begin + 1;
  return text.substr(from, text.find('\n', at) - from);
}

}  // namespace

// The specs list's first entry: on a line after the list's own.
void SpecKeyMatcher::firstEntry(std::string_view text, std::size_t from) {
  if (haveFirst) return;
  const std::size_t entry = text.find(kEntryValue, from);
  if (entry == npos) return;
  attributeValue(lineAt(text, entry), keys::kValueName, firstSpec);
  haveFirst = true;
}

// The text is searched for the two keys, and only the lines that hold one
// are looked at (and, after a specs list opens, the line of its first entry).
void SpecKeyMatcher::lines(std::string_view text) {
  if (wantFirst) firstEntry(text, 0);
  // A line is looked at once, however often it holds the default spec key:
  // every occurrence reads the same value, and a line of nothing but keys
  // would otherwise be searched once per key.
  std::size_t lookedAtTo = 0;
  for (std::size_t at = text.find(keys::kInfo); at != npos; at = text.find(keys::kInfo, at + 1)) {
    const std::string_view rest = text.substr(at + keys::kInfo.size());
    if (rest.starts_with(kDefault)) {
      if (at < lookedAtTo) continue;
      attributeValue(lineAt(text, at), keys::kValueName, defaultSpec);
      const std::size_t lineEnd = text.find('\n', at);
      lookedAtTo = lineEnd == npos ? text.size() : lineEnd;
    } else if (!wantFirst && rest.starts_with(kSpecs)) {
      wantFirst = true;
      const std::size_t lineEnd = text.find('\n', at);
      if (lineEnd != npos) firstEntry(text, lineEnd);
    }
  }
}

bool SpecKeyMatcher::holdsKey(std::string_view text) const {
  return text.find(keys::kInfo) != npos || (wantFirst && text.find(kEntryValue) != npos);
}

std::size_t SpecKeyMatcher::longestKey() { return kEntryValue.size(); }

bool prescanSpecs(std::istream& in, std::string& defaultSpec, std::string& firstSpec) {
  const std::streampos start = in.tellg();
  if (start == std::streampos(-1)) return false;
  SpecKeyMatcher matcher;
  LineRuns runs;
  runs.lines = [&matcher](std::string_view text) { matcher.lines(text); };
  runs.holds = [&matcher](std::string_view text) { return matcher.holdsKey(text); };
  runs.overlap = SpecKeyMatcher::longestKey() - 1;  // a key split between two blocks
  readLineRuns(in, start, runs);
  defaultSpec = std::move(matcher.defaultSpec);
  firstSpec = std::move(matcher.firstSpec);
  in.clear();
  in.seekg(start);
  return static_cast<bool>(in);
}
