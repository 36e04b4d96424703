#include "reading/build_settings.h"

#include "reading/build_markers.h"

#include <algorithm>
#include <functional>
#include <optional>

namespace {

constexpr auto npos = std::string::npos;

// A build macro entry; `restStart` is where the text after the marker begins.
bool buildMacro(std::string_view line, std::size_t restStart, char nameEnd,
                BuildStatement& statement) {
  const auto beforeQuote = textBeforeLastQuote(line, restStart);
  if (!beforeQuote) return false;
  // The rest runs up to and including the line's last quote.
  const std::string_view rest(beforeQuote->data(), beforeQuote->size() + 1);
  const std::size_t valueAt = rest.find(kValueText);
  if (valueAt == npos) return false;
  const std::size_t valueStart = valueAt + kValueText.size() + 1;
  const std::size_t valueEnd = rest.size() - 1;
  const std::string_view value =
      valueStart < valueEnd ? rest.substr(valueStart, valueEnd - valueStart) : std::string_view();
  statement = {BuildStatement::BuildMacro, {}, rest.substr(0, rest.find(nameEnd)), value};
  return true;
}

// The attribute's value, inside its quotes; one written without its opening
// quote is given from the attribute's name on, as it stands.
bool compilerCommand(std::string_view line, BuildStatement& statement) {
  const std::size_t valueAt = line.find(kValueText);
  if (valueAt == npos) return false;
  const auto attribute = textBeforeLastQuote(line, valueAt);
  if (!attribute) return false;
  std::string_view command = *attribute;
  if (command.starts_with(kQuotedValue)) command.remove_prefix(kQuotedValue.size());
  statement = {BuildStatement::CompilerCommand, {}, command, {}};
  return true;
}

}  // namespace

BuildSettingsReader::BuildSettingsReader(std::istream& in, bool withKeys)
    : in(in), withKeys(withKeys) {
  constexpr std::string_view mark = "\xEF\xBB\xBF";
  if (in.peek() != static_cast<unsigned char>(mark[0])) return;
  char start[3] = {};
  in.read(start, 3);
  if (in.gcount() == 3 && std::string_view(start, 3) == mark) return;
  // Not a whole mark: read from the start after all.
  in.clear();
  in.seekg(0);
}

// One line without its line feed; a carriage return before the line feed
// belongs to the line break.
bool BuildSettingsReader::readLine() {
  if (!std::getline(in, line)) return false;
  if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
  if (lineWatcher) lineWatcher(line);
  return true;
}

bool BuildSettingsReader::subprojectEntry(BuildStatement& statement) const {
  const std::size_t marker = kSubprojectEntry.find(line);
  if (marker == npos) return false;
  // The value's first character, normally a slash, is dropped.
  const auto projectPath = textBeforeLastQuote(line, marker + kSubprojectEntry.size() + 1);
  if (!projectPath) return false;
  statement = {BuildStatement::Subproject, {}, *projectPath, {}};
  return true;
}

bool BuildSettingsReader::includeEntry(BuildStatement& statement) const {
  const std::size_t marker = kIncludeEntry.find(line);
  if (marker == npos) return false;
  const auto entry = textBeforeLastQuote(line, marker + kIncludeEntry.size());
  if (!entry) return false;
  statement = {BuildStatement::Include, listKey, *entry, {}};
  return true;
}

void BuildSettingsReader::findSingleLineEntries(std::size_t macro, std::size_t globalMacro,
                                                std::size_t command) {
  singleAt[0] = macro;
  singleAt[1] = globalMacro;
  singleAt[2] = command;
  singleStep = 0;
  stage = Stage::SingleLineEntries;
}

// The single-line entries of the current line, in the order macro, global
// macro, compiler command.
bool BuildSettingsReader::singleLineEntry(BuildStatement& statement) {
  while (singleStep < 3) {
    const std::size_t step = singleStep++;
    const std::size_t at = singleAt[step];
    if (at == npos) continue;
    bool found = false;
    if (step == 0) found = buildMacro(line, at + kMacro.size(), '|', statement);
    if (step == 1) found = buildMacro(line, at + kGlobalMacro.size(), '"', statement);
    if (step == 2) found = compilerCommand(line, statement);
    if (found) {
      if (withKeys) statement.key = keyOf(line, at);
      return true;
    }
  }
  return false;
}

// A line goes through the recognisers in a fixed order: the sub-project
// list, the include list, then the single-line entries. A list reads the
// lines up to its closing line, which goes on to the recognisers after the
// list's own. The end of the file ends the reading, inside a list too.
bool BuildSettingsReader::next(BuildStatement& statement) {
  auto findSingles = [this](const KeyedMarkers& at) {
    findSingleLineEntries(at.macro, at.globalMacro, at.compilerCommand);
  };
  for (;;) {
    switch (stage) {
      case Stage::NextLine: {
        if (!readLine()) break;
        const std::size_t list = kSubprojectList.find(line);
        if (list == npos) {
          stage = Stage::IncludeList;
          continue;
        }
        statement = {BuildStatement::SubprojectList, {}, {}, {}};
        if (closesItself(line, list)) {
          // An empty list: the line goes on to the recognisers after its own.
          stage = Stage::IncludeList;
          return true;
        }
        // The list's opening line is not examined further.
        if (!readLine()) break;
        stage = Stage::Subprojects;
        lineUsed = false;
        return true;
      }
      case Stage::Subprojects:
      case Stage::Includes: {
        if (lineUsed && !readLine()) break;
        lineUsed = true;
        const bool inSubprojects = stage == Stage::Subprojects;
        if ((inSubprojects ? kSubprojectListEnd : kIncludeListEnd).in(line)) {
          if (inSubprojects) stage = Stage::IncludeList;
          else findSingles(KeyedMarkers(line));
          continue;
        }
        if (inSubprojects ? subprojectEntry(statement) : includeEntry(statement)) return true;
        continue;
      }
      case Stage::IncludeList: {
        const KeyedMarkers at(line);
        if (at.includeList == npos) {
          findSingles(at);
          continue;
        }
        if (closesItself(line, at.includeList)) {
          findSingles(at);
          continue;
        }
        if (withKeys) listKeyText = keyOf(line, at.includeList);
        listKey = listKeyText;
        if (!readLine()) break;
        stage = Stage::Includes;
        lineUsed = false;
        continue;
      }
      case Stage::SingleLineEntries:
        if (singleLineEntry(statement)) return true;
        stage = Stage::NextLine;
        continue;
      case Stage::Done:
        break;
    }
    stage = Stage::Done;
    return false;
  }
}
