#include <algorithm>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/conversion_job.h"
#include "driver/input_file.h"
#include "driver/output.h"
#include "platform/platform.h"
#include "reading/lookup_table.h"

// Reads the Wind River build description line by line. It is not parsed as
// markup: each line is searched for a few fixed marker texts and everything
// else is ignored.

namespace {

constexpr auto npos = std::string::npos;

// A marker text with its skip table, made once. Every line is searched for
// several markers, and a plain search stops at each character that begins
// one; this one mostly steps a marker's length at a time.
class Marker {
 public:
  explicit Marker(std::string_view text) : text(text), searcher(text.begin(), text.end()) {}

  // The first occurrence at or after `from`.
  std::size_t find(std::string_view line, std::size_t from = 0) const {
    const auto at = std::search(line.begin() + from, line.end(), searcher);
    return at == line.end() ? npos : static_cast<std::size_t>(at - line.begin());
  }
  bool in(std::string_view line) const { return find(line) != npos; }
  std::size_t size() const { return text.size(); }

 private:
  std::string_view text;
  std::boyer_moore_horspool_searcher<std::string_view::const_iterator> searcher;
};

const Marker kSubprojectList{"subprojects"};
const Marker kSubprojectListEnd{"/subprojects"};
const Marker kSubprojectEntry{"subproject project=\""};
const Marker kIncludeListEnd{"/listAttribute"};
const Marker kIncludeEntry{"stringAttribute value=\""};
constexpr std::string_view kIncludeList = "listAttribute key=\"BLD::Info|Incl|";
constexpr std::string_view kMacro = "stringAttribute key=\"BLD::Info|Macro|";
constexpr std::string_view kGlobalMacro = "stringAttribute key=\"BLD::Info|GlobalMacro|";
constexpr std::string_view kCompilerCommand = "stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd";
constexpr std::string_view kValue = "value=";
constexpr std::string_view kProjectReference = "%Proj-";
constexpr std::string_view kSystemInclude = "-isystem";
constexpr std::string_view kDefines = "$(DEFINES)";

// The four markers above all hold this text. A line is searched for it once
// (most lines hold it once or not at all) and each marker is compared in full
// where it occurs, instead of searching the line four times.
constexpr std::string_view kKeyText = "key=\"BLD::Info|";
const Marker kKey{kKeyText};

// Where each of the four markers first occurs in a line; npos where it does not.
struct KeyedMarkers {
  explicit KeyedMarkers(std::string_view line) {
    for (std::size_t key = kKey.find(line); key != npos; key = kKey.find(line, key + 1)) {
      note(includeList, kIncludeList, line, key);
      note(macro, kMacro, line, key);
      note(globalMacro, kGlobalMacro, line, key);
      note(compilerCommand, kCompilerCommand, line, key);
    }
  }

  std::size_t includeList = npos;
  std::size_t macro = npos;
  std::size_t globalMacro = npos;
  std::size_t compilerCommand = npos;

 private:
  // Records where `marker` begins if it holds the key text found at `key`,
  // unless an earlier occurrence is recorded already.
  static void note(std::size_t& at, std::string_view marker, std::string_view line,
                   std::size_t key) {
    const std::size_t offset = marker.find(kKeyText);
    if (at == npos && key >= offset && line.substr(key - offset).starts_with(marker)) {
      at = key - offset;
    }
  }
};

bool holds(const std::string& line, std::string_view marker) {
  return line.find(marker) != npos;
}

// One line without its line feed; a carriage return before the line feed
// belongs to the line break.
bool readLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// The text of `line` from `start` up to, not including, its last double quote;
// nothing when there is no quote at or after `start`. Every value is cut out
// this way, as a view: lists can hold hundreds of thousands of entries.
std::optional<std::string_view> textBeforeLastQuote(std::string_view line, std::size_t start) {
  const std::size_t quote = line.rfind('"');
  if (quote == npos || quote < start) return std::nullopt;
  return line.substr(start, quote - start);
}

// Whether a project path climbs out of the workspace through a ".." part.
// Workbench writes none; a crafted one such as /Lib/../../../.. would make
// the scan list the whole disk into the project.
bool leavesWorkspace(std::string_view projectPath) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = projectPath.find_first_of(std::string_view("/\\"), start);
    if (projectPath.substr(start, end == npos ? npos : end - start) == "..") return true;
    if (end == npos) return false;
    start = end + 1;
  }
}

std::string lookUp(const LookupTable& table, std::string_view name) {
  return std::string(table.get(name));
}

// Replaces every $(X) in `value` by build macro X (empty when unknown).
std::string expandReferences(const std::string& value, const LookupTable& buildMacros) {
  std::string result;
  std::size_t pos = 0;
  for (;;) {
    const std::size_t open = value.find("$(", pos);
    const std::size_t close = open == npos ? npos : value.find(')', open + 2);
    if (close == npos) {
      result.append(value, pos, npos);
      return result;
    }
    result.append(value, pos, open - pos);
    result += lookUp(buildMacros, value.substr(open + 2, close - open - 2));
    pos = close + 1;
  }
}

class BuildSettingsReader {
 public:
  BuildSettingsReader(ConversionJob& job, std::istream& in) : job(job), in(in) {}

  void read() {
    std::string line;
    while (readLine(in, line)) {
      // A block ends on its closing line, which the recognisers after it see
      // in turn; the end of the file inside a block ends the reading.
      if (kSubprojectList.in(line) && !readSubprojects(line)) return;
      KeyedMarkers at(line);
      if (at.includeList != npos) {
        if (!readIncludes(line)) return;
        at = KeyedMarkers(line);
      }
      if (at.macro != npos) readBuildMacro(line, at.macro + kMacro.size(), '|');
      if (at.globalMacro != npos) readBuildMacro(line, at.globalMacro + kGlobalMacro.size(), '"');
      if (at.compilerCommand != npos) readCompilerCommand(line);
    }
  }

 private:
  FileGroup& root() { return *job.rootGroup; }

  bool readSubprojects(std::string& line) {
    if (!readLine(in, line)) return false;
    job.scanFolder(job.workspaceDir, root(), false);
    while (!kSubprojectListEnd.in(line)) {
      addSubproject(line);
      if (!readLine(in, line)) return false;
    }
    return true;
  }

  void addSubproject(const std::string& line) {
    const std::size_t marker = kSubprojectEntry.find(line);
    if (marker == npos) return;
    // The value's first character, normally a slash, is dropped.
    const auto projectPath = textBeforeLastQuote(line, marker + kSubprojectEntry.size() + 1);
    if (!projectPath) return;
    for (const std::string& name : job.referencedProjects) {
      if (projectPath->find(name) == npos) continue;
      std::string folder = job.workspaceDir + platform::separator;
      folder += *projectPath;
      projectFolders.set(name, folder);
      auto group = std::make_unique<FileGroup>(name, job);
      if (!leavesWorkspace(*projectPath)) job.scanFolder(folder, *group, true);
      root().subGroups.push_back(std::move(group));
    }
  }

  bool readIncludes(std::string& line) {
    if (!readLine(in, line)) return false;
    while (!kIncludeListEnd.in(line)) {
      addInclude(line);
      if (!readLine(in, line)) return false;
    }
    return true;
  }

  void addInclude(const std::string& line) {
    const std::size_t marker = kIncludeEntry.find(line);
    if (marker == npos) return;
    const auto entry = textBeforeLastQuote(line, marker + kIncludeEntry.size());
    if (!entry) return;
    std::string_view value = *entry;
    // Drop the include option: two letters such as -I, or -isystem.
    dropFront(value, value.starts_with(kSystemInclude) ? kSystemInclude.size() : 2);
    if (value.find(kProjectReference) != npos) dropFront(value, kProjectReference.size());
    const std::size_t percent = value.find('%');
    if (percent == npos) {
      root().includePaths.emplace_back(value);
      return;
    }
    const std::string_view key = value.substr(0, percent);
    std::string path(projectFolders.get(key));
    if (path.empty()) {
      path = job.workspaceDir + platform::separator;
      path += key;
    }
    path += value.substr(percent + 1);
    root().includePaths.push_back(std::move(path));
  }

  static void dropFront(std::string_view& text, std::size_t count) {
    text.remove_prefix(std::min(count, text.size()));
  }

  // `restStart` is where the text after the marker begins.
  void readBuildMacro(const std::string& line, std::size_t restStart, char nameEnd) {
    const auto beforeQuote = textBeforeLastQuote(line, restStart);
    if (!beforeQuote) return;
    // The rest runs up to and including the line's last quote.
    const std::string_view rest(beforeQuote->data(), beforeQuote->size() + 1);
    const std::string_view name = rest.substr(0, rest.find(nameEnd));
    const std::size_t valueAt = rest.find(kValue);
    if (valueAt == npos) return;
    const std::size_t valueStart = valueAt + kValue.size() + 1;
    const std::size_t valueEnd = rest.size() - 1;
    const std::string_view value =
        valueStart < valueEnd ? rest.substr(valueStart, valueEnd - valueStart) : "1";
    buildMacros.set(name, value);
  }

  void readCompilerCommand(const std::string& line) {
    const std::size_t valueAt = line.find(kValue);
    if (valueAt == npos) return;
    const auto found = textBeforeLastQuote(line, valueAt);
    if (!found) return;
    const std::string command(*found);
    forEachDefinition(command, [&](const std::string& token) { defineFromCommand(token); });
    if (holds(command, kDefines)) {
      forEachDefinition(lookUp(buildMacros, "DEFINES"),
                        [&](const std::string& token) { defineFromDefines(token); });
    }
  }

  // Calls `use` with the text after each "-D" up to the next space.
  template <typename Use>
  static void forEachDefinition(const std::string& text, Use use) {
    std::size_t pos = text.find("-D");
    while (pos != npos) {
      const std::size_t start = pos + 2;
      const std::size_t space = text.find(' ', start);
      use(text.substr(start, space == npos ? npos : space - start));
      if (space == npos) return;
      pos = text.find("-D", space);
    }
  }

  void define(const std::string& name, const std::string& value) {
    if (!name.empty()) root().macros[name] = value;
  }

  // A token of the command itself: $(NAME) takes build macro NAME's value,
  // NAME=VALUE has the references in its value resolved, and any other token
  // holding a reference cannot be read.
  void defineFromCommand(const std::string& token) {
    const bool isReference = token.starts_with("$(") && token.size() > 2 &&
                             token.back() == ')' && token.find(')') == token.size() - 1;
    if (isReference) {
      const std::string name = token.substr(2, token.size() - 3);
      define(name, lookUp(buildMacros, name));
      return;
    }
    const std::size_t equals = token.find('=');
    if (equals != npos) {
      define(token.substr(0, equals), expandReferences(token.substr(equals + 1), buildMacros));
    } else if (!holds(token, "$(")) {
      define(token, "");
    }
  }

  // A token of the DEFINES build macro, where "$(" means nothing special.
  void defineFromDefines(const std::string& token) {
    const std::size_t equals = token.find('=');
    if (equals == npos) define(token, "");
    else define(token.substr(0, equals), token.substr(equals + 1));
  }

  ConversionJob& job;
  std::istream& in;
  LookupTable buildMacros;
  LookupTable projectFolders;
};

}  // namespace

bool ConversionJob::readBuildSettings() {
  // Large reads: a build description can run to a hundred megabytes.
  std::vector<char> buffer(1 << 18);
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  if (!openInputFile(in, buildSettingsPath)) {
    printLine("Could not open file: " + buildSettingsPath);
    return false;
  }
  skipByteOrderMark(in);
  BuildSettingsReader(*this, in).read();
  return true;
}
