// What a build description says beyond the entries every conversion reads:
// its build specs, each spec's output folder, defines lists and C++ compiler
// command, and its build targets. Read line by line beside the build
// settings reader: always in the real-project mode, and in the default mode
// when describing (the build specs and targets it lists).
#pragma once

#include <functional>
#include <istream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a build target, or a file or folder of its contents, sets for itself
// in its <attributes>: entries keyed as the project's are, each key after
// "BLD::Info|" (such as "Tool|C++-Compiler|flags|PPC32gnu" or "Incl|PPC32gnu"),
// every text decoded, in file order.
struct OwnAttributes {
  struct List {
    std::string key;
    std::vector<std::string> values;
  };
  std::vector<std::pair<std::string, std::string>> values;  // <stringAttribute key= value=>
  std::vector<List> lists;                                    // <listAttribute key=> and its entries
  bool empty() const { return values.empty() && lists.empty(); }
};

struct BuildTarget {
  struct Folder {
    std::string name;       // workspace-relative, such as "/Proj/src"
    bool recursive = false;
    std::vector<std::string> excludes;  // as written: file names or paths
    OwnAttributes attributes = {};
  };
  // A file of the contents that has attributes of its own, whether the
  // contents name it or one of their folders holds it.
  struct FileAttributes {
    std::string name;  // workspace-relative, such as "/Proj/src/a.c"
    OwnAttributes attributes;
  };
  std::string name;
  std::vector<Folder> folders;
  std::vector<std::string> files = {};       // <file name="/Proj/a.c"/> outside excludes
  std::vector<std::string> references = {};  // <buildtargetreference name="/Proj/T"/>
  // Its buildtool ("Linker", "Librarian", ...): the generated Makefile
  // builds it from its contents. Empty: a goal of a Makefile Workbench does
  // not generate (an image or source build project's "vxWorks").
  std::string buildTool = {};
  OwnAttributes attributes = {};
  std::vector<FileAttributes> fileAttributes = {};
};

struct SpecValue {
  std::string spec;   // empty: for no spec
  std::string value;  // entities decoded
};

// BLD::Info|Tool|<tool>|<part>|<spec>: the flags a compiler command's
// placeholders stand for.
struct ToolValue {
  std::string tool;  // "C-Compiler" or "C++-Compiler"
  std::string part;  // "flags", "dbgFlags" or "nonDbgFlags"
  std::string spec;  // empty: for no spec
  std::string value;
};

struct WorkbenchFacts {
  std::string defaultSpec;
  std::vector<std::string> specs;          // the file's list, in its order
  std::vector<SpecValue> outputFolders;    // BLD::Info|redirDir|<spec>
  std::vector<SpecValue> defines;          // entries of BLD::Info|Definess|<spec>
  std::vector<SpecValue> cxxCommands;      // BLD::Info|Tool|C++-Compiler|cmd|<spec>
  std::vector<ToolValue> toolFlags;
  std::vector<BuildTarget> targets;
  // The build specs keys name (specOfKey), each once, in the order first named.
  std::vector<std::string> keySpecs;
};

// Every build spec the file knows, each once: its list (in its order), then
// those only keys name, then those only a defines list names. -spec takes
// one of these, and the description offers these: one list for both.
std::vector<std::string> knownSpecs(const WorkbenchFacts& facts);

// The build spec a keyed entry is for: the last part of Incl|SPEC,
// Macro|NAME|value|SPEC and Tool|C-Compiler|cmd|SPEC (the key after
// "BLD::Info|"); empty for none.
std::string_view specOfKey(std::string_view key);

// The value of attribute `name` in `tag` (the text up to the next double
// quote), entities decoded; false when the tag has none.
bool attributeValue(std::string_view tag, std::string_view name, std::string& value);

class WorkbenchFactsReader {
 public:
  explicit WorkbenchFactsReader(WorkbenchFacts& facts) : facts(facts) {}

  // Each line of the file, in order. What lies inside <buildtargets> is a
  // target's (its attributes, or those of a file or folder of its
  // contents), never the project's.
  void line(std::string_view text);

  // Whether the text at `at`, a view into the line given last, lies inside
  // <buildtargets>; for a text elsewhere (or null), whether the line ends
  // inside it.
  bool insideTargets(const char* at) const;

 private:
  enum class List { None, Specs, Defines };
  enum class Scope { Target, Folder, File };
  void targetTags(std::string_view text);
  void attributeTag(std::string_view tag, bool list, bool closed);
  OwnAttributes& scopeAttributes();
  void keySpecs(std::string_view text);

  WorkbenchFacts& facts;
  List list = List::None;
  std::string listSpec;
  bool inTargets = false;
  bool inExcludes = false;
  bool inFolder = false;
  Scope scope = Scope::Target;
  bool inTargetList = false;  // a <listAttribute> of the scope is open
  // The line given last, whether it began inside <buildtargets>, and where
  // in it the element opened or closed (each place with the state after it).
  std::string_view lineText;
  bool lineBeganInTargets = false;
  std::vector<std::pair<std::size_t, bool>> targetsChanges;
  std::string lastKeySpec;  // entries of one spec come together
  std::set<std::string, std::less<>> keySpecsSeen;
};
