// The marker texts the build settings reader looks for in each line of a
// build description, and the pieces of a line it cuts out around them.
#pragma once

#include <algorithm>
#include <array>
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

// The texts of the build description's keys, each spelled here once. A
// key is kInfo followed by names joined by "|", such as
// "BLD::Info|Macro|CPU|value|PPC32gnu"; the names below are what follows kInfo.
namespace keys {
inline constexpr std::string_view kInfo = "BLD::Info|";
inline constexpr std::string_view kBar = "|";
inline constexpr std::string_view kIncludes = "Incl";        // Incl|SPEC: a list
inline constexpr std::string_view kMacro = "Macro";          // Macro|NAME|value|SPEC
inline constexpr std::string_view kMacroValue = "value";     // its third part
inline constexpr std::string_view kGlobalMacro = "GlobalMacro";  // GlobalMacro|NAME
inline constexpr std::string_view kTool = "Tool";            // Tool|TOOL|PART|SPEC
inline constexpr std::string_view kCCompiler = "C-Compiler";
inline constexpr std::string_view kCxxCompiler = "C++-Compiler";
inline constexpr std::string_view kCommand = "cmd";
inline constexpr std::string_view kFlags = "flags";
inline constexpr std::string_view kDebugFlags = "dbgFlags";
inline constexpr std::string_view kNonDebugFlags = "nonDbgFlags";
inline constexpr std::string_view kDefaultSpec = "defaultSpec";
inline constexpr std::string_view kSpecs = "specs";          // the list of build specs
inline constexpr std::string_view kDefines = "Definess";     // Definess|SPEC: a list
inline constexpr std::string_view kOutputFolder = "redirDir";  // redirDir|SPEC
}  // namespace keys

// The texts `Parts` joined, made once at compile time: each marker is
// spelled from the key names above instead of again in full.
template <const std::string_view&... Parts>
struct JoinedText {
  static constexpr auto chars = [] {
    std::array<char, (Parts.size() + ...)> all{};
    std::size_t at = 0;
    for (const std::string_view part : {Parts...}) {
      for (const char c : part) all[at++] = c;
    }
    return all;
  }();
  static constexpr std::string_view value{chars.data(), chars.size()};
};
template <const std::string_view&... Parts>
inline constexpr std::string_view joinedText = JoinedText<Parts...>::value;

namespace keys {
inline constexpr std::string_view kQuote = "\"";
inline constexpr std::string_view kSpace = " ";
inline constexpr std::string_view kEquals = "=";
inline constexpr std::string_view kEndMark = "/";
// The elements entries are written in, and the attribute holding their value.
inline constexpr std::string_view kListName = "listAttribute";
inline constexpr std::string_view kStringName = "stringAttribute";
inline constexpr std::string_view kValueName = "value";
inline constexpr std::string_view kKeyName = "key";
inline constexpr std::string_view kKeyAttribute = joinedText<kKeyName, kEquals, kQuote>;
inline constexpr std::string_view kListElement = joinedText<kListName, kSpace>;
inline constexpr std::string_view kStringElement = joinedText<kStringName, kSpace>;
inline constexpr std::string_view kListEnd = joinedText<kEndMark, kListName>;
// The build targets' element: what lies inside it is a target's.
inline constexpr std::string_view kBuildTargets = "buildtargets";
inline constexpr std::string_view kIncludesList = joinedText<kIncludes, kBar>;
inline constexpr std::string_view kMacroEntry = joinedText<kMacro, kBar>;
inline constexpr std::string_view kGlobalMacroEntry = joinedText<kGlobalMacro, kBar>;
inline constexpr std::string_view kToolEntry = joinedText<kTool, kBar>;
inline constexpr std::string_view kCCompilerCommand = joinedText<kTool, kBar, kCCompiler, kBar, kCommand>;
inline constexpr std::string_view kCxxCompilerCommand =
    joinedText<kTool, kBar, kCxxCompiler, kBar, kCommand>;
inline constexpr std::string_view kCCompilerTool = joinedText<kTool, kBar, kCCompiler>;
inline constexpr std::string_view kCxxCompilerTool = joinedText<kTool, kBar, kCxxCompiler>;
}  // namespace keys

inline const Marker kSubprojectList{"subprojects"};
inline const Marker kSubprojectListEnd{"/subprojects"};
inline const Marker kSubprojectEntry{"subproject project=\""};
inline const Marker kIncludeListEnd{keys::kListEnd};
// An attribute's value as it opens: value=, then its quote.
inline constexpr std::string_view kValueText = joinedText<keys::kValueName, keys::kEquals>;
inline constexpr std::string_view kQuotedValue = joinedText<kValueText, keys::kQuote>;
// An entry of a list, such as an include path or a build spec.
inline constexpr std::string_view kEntryValue = joinedText<keys::kStringElement, kQuotedValue>;
inline const Marker kIncludeEntry{kEntryValue};
// An include entry's %Proj-NAME%: the folder of project NAME.
inline constexpr std::string_view kProjectReference = "%Proj-";
inline constexpr std::string_view kSystemInclude = "-isystem";

// Every key as it opens in an element: key="BLD::Info|.
inline constexpr std::string_view kKeyText = joinedText<keys::kKeyAttribute, keys::kInfo>;
inline const Marker kKey{kKeyText};

// The elements of the four keyed entries every conversion reads.
inline constexpr std::string_view kIncludeList =
    joinedText<keys::kListElement, kKeyText, keys::kIncludesList>;
inline constexpr std::string_view kMacro = joinedText<keys::kStringElement, kKeyText, keys::kMacroEntry>;
inline constexpr std::string_view kGlobalMacro =
    joinedText<keys::kStringElement, kKeyText, keys::kGlobalMacroEntry>;
inline constexpr std::string_view kCompilerCommand =
    joinedText<keys::kStringElement, kKeyText, keys::kCCompilerCommand>;

// The four markers above all hold kKeyText. A line is searched for it once
// (most lines hold it once or not at all) and each marker is compared in full
// where it occurs, instead of searching the line four times.
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
