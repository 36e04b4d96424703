// The Wind River build description (.wrproject), read as what it says, one
// statement at a time and in file order. It is not parsed as markup: each
// line is searched for a few fixed marker texts and everything else is
// ignored. The statements keep the order of the file, so whoever builds on
// them sees, at each one, only what the lines before it supplied.
#pragma once

#include <functional>
#include <istream>
#include <string>
#include <string_view>

struct BuildStatement {
  enum Kind {
    SubprojectList,   // a sub-project list opens
    Subproject,       // text: the entry's project path (its first character dropped)
    Include,          // text: the entry as written, such as "-I%Proj-Lib%/h"; key: the list's
    BuildMacro,       // text: the name; value: the value as written, empty when it is
    CompilerCommand,  // text: the C compiler's command, the attribute's value
  };
  Kind kind = SubprojectList;
  // For the keyed statements, what follows "BLD::Info|" in the key up to its
  // closing quote, such as "Incl|PPC32gnu" or "Macro|CPU|value|PPC32gnu"
  // (when the reader was asked for keys).
  std::string_view key;
  std::string_view text;
  std::string_view value;
};

// Reads statements from a stream; a leading UTF-8 byte order mark is passed
// over. The views of a statement stay valid until the next call to next().
class BuildSettingsReader {
 public:
  // The keys of the statements are given only `withKeys`: a conversion
  // that reads every build spec alike needs none of them.
  explicit BuildSettingsReader(std::istream& in, bool withKeys = false);

  // The next statement; false at the end of the file, also when it ends
  // inside a list (what the list held so far has been given).
  bool next(BuildStatement& statement);

  // Called with every line the reader reads, in order, before its
  // statements are given: for readers of what the statements leave out.
  void watchLines(std::function<void(std::string_view)> watcher) { lineWatcher = std::move(watcher); }

 private:
  enum class Stage { NextLine, Subprojects, IncludeList, Includes, SingleLineEntries, Done };
  bool readLine();
  bool subprojectEntry(BuildStatement& statement) const;
  bool includeEntry(BuildStatement& statement) const;
  void findSingleLineEntries(std::size_t macro, std::size_t globalMacro, std::size_t command);
  bool singleLineEntry(BuildStatement& statement);

  std::istream& in;
  bool withKeys;
  std::function<void(std::string_view)> lineWatcher;
  std::string line;
  Stage stage = Stage::NextLine;
  bool lineUsed = false;     // inside a list: the current line was looked at
  std::string listKeyText;   // the key of the include list being read
  std::string_view listKey;
  std::size_t singleStep = 0;
  std::size_t singleAt[3] = {};  // where each single-line marker is in the line
};
