// The marker texts the build settings reader looks for in each line of a
// build description, and the pieces of a line it cuts out around them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

// A marker text with its skip table, made once. Every line is searched for
// several markers, and a plain search stops at each character that begins
// one; this one mostly steps a marker's length at a time.
class Marker {
 public:
  explicit Marker(std::string_view text) : text(text), searcher(text.begin(), text.end()) {}

  // The first occurrence at or after `from`.
  std::size_t find(std::string_view line, std::size_t from = 0) const {
    const auto at = std::search(line.begin() + from, line.end(), searcher);
    return at == line.end() ? std::string_view::npos : static_cast<std::size_t>(at - line.begin());
  }
  bool in(std::string_view line) const { return find(line) != std::string_view::npos; }
  std::size_t size() const { return text.size(); }

 private:
  std::string_view text;
  std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher;
};

inline const Marker kSubprojectList{"subprojects"};
inline const Marker kSubprojectListEnd{"/subprojects"};
inline const Marker kSubprojectEntry{"subproject project=\""};
inline const Marker kIncludeListEnd{"/listAttribute"};
inline const Marker kIncludeEntry{"stringAttribute value=\""};
inline constexpr std::string_view kIncludeList = "listAttribute key=\"BLD::Info|Incl|";
inline constexpr std::string_view kMacro = "stringAttribute key=\"BLD::Info|Macro|";
inline constexpr std::string_view kGlobalMacro = "stringAttribute key=\"BLD::Info|GlobalMacro|";
inline constexpr std::string_view kCompilerCommand = "stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd";
inline constexpr std::string_view kProjectReference = "%Proj-";
inline constexpr std::string_view kSystemInclude = "-isystem";


// The four markers above all hold this text. A line is searched for it once
// (most lines hold it once or not at all) and each marker is compared in full
// where it occurs, instead of searching the line four times.
inline constexpr std::string_view kKeyText = "key=\"BLD::Info|";
inline const Marker kKey{kKeyText};

// Where each of the four markers first occurs in a line; npos where it does not.
struct KeyedMarkers {
  explicit KeyedMarkers(std::string_view line) {
    for (std::size_t key = kKey.find(line); key != std::string_view::npos; key = kKey.find(line, key + 1)) {
      note(includeList, kIncludeList, line, key);
      note(macro, kMacro, line, key);
      note(globalMacro, kGlobalMacro, line, key);
      note(compilerCommand, kCompilerCommand, line, key);
    }
  }

  std::size_t includeList = std::string_view::npos;
  std::size_t macro = std::string_view::npos;
  std::size_t globalMacro = std::string_view::npos;
  std::size_t compilerCommand = std::string_view::npos;

 private:
  // Records where `marker` begins if it holds the key text found at `key`,
  // unless an earlier occurrence is recorded already.
  static void note(std::size_t& at, std::string_view marker, std::string_view line,
                   std::size_t key) {
    const std::size_t offset = marker.find(kKeyText);
    if (at == std::string_view::npos && key >= offset && line.substr(key - offset).starts_with(marker)) {
      at = key - offset;
    }
  }
};

// The text of `line` from `start` up to, not including, its last double quote;
// nothing when there is no quote at or after `start`. Every value is cut out
// this way, as a view: lists can hold hundreds of thousands of entries.
std::optional<std::string_view> textBeforeLastQuote(std::string_view line, std::size_t start);

// Whether the element whose opening marker is at `at` closes itself, as an
// empty list does (<listAttribute key="..."/>): its block then ends at once
// instead of running on to the next list's closing line.
bool closesItself(std::string_view line, std::size_t at);

// `text` without its first `count` characters (all of them when shorter).
void dropFront(std::string_view& text, std::size_t count);

// What follows "BLD::Info|" in the key of the entry whose marker is at `at`,
// up to the key's closing quote.
std::string_view keyOf(std::string_view line, std::size_t at);
