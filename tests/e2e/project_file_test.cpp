// Whole project files through the real program, line by line: the blocks of
// the groups with their paths and files, what is printed, and the files
// made beside them.
#include <cstdlib>
#include <functional>

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

// One group as its block in the project file names it: its path below the
// workspace and the destination (parts joined with the separator), its
// files (full paths) and its sub-groups.
struct Block {
  std::string name;
  std::vector<std::string> path;
  std::vector<std::string> files;
  std::vector<Block> subGroups;
};

std::string joined(const std::vector<std::string>& parts) {
  std::string path;
  for (const auto& part : parts) path += s + part;
  return path;
}

// The project file a conversion into `out` from `ws` writes for `root`.
std::string projectFile(const Block& root, const std::string& ws, const std::string& out,
                        const std::string& name) {
  const std::string pers = out + s + "person" + s + name;
  std::vector<std::string> lines{"VersionTag45"};
  std::function<void(const Block&)> add = [&](const Block& block) {
    lines.insert(lines.end(),
                 {"StartProjectMarker", "FolderName=" + block.name,
                  "SourcePath=" + ws + joined(block.path) + s,
                  "OutputPath=" + out + joined(block.path) + s + "output" + s,
                  "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                  "CompPers=" + pers + ".p_c"});
    lines.insert(lines.end(), block.files.begin(), block.files.end());
    lines.push_back("EndContainedFilesMarker");
    if (block.subGroups.empty()) return;
    lines.push_back("StartSubProjectMarker");
    for (const auto& sub : block.subGroups) add(sub);
    lines.push_back("EndSubProjectMarker");
  };
  add(root);
  return crlfLines(lines);
}

struct Case {
  const char* label;
  // The first three arguments; the destination and `options` follow.
  std::function<std::vector<std::string>(Conversion&)> arguments;
  // The workspace the run names, and the groups it gives.
  std::function<std::string(const Conversion&)> workspace;
  std::function<Block(const std::string& ws)> blocks;
  std::vector<std::string> options;
  std::vector<std::string> groupsPrinted;
  std::string analyserPersonality;  // with "WS" standing for the workspace
};

std::string examples() {
  const char* folder = std::getenv("PLOVIK_EXAMPLES");
  if (folder == nullptr) return "";
  // Separators swapped by hand: through MinGW's fs::path an ANSI path comes
  // back as UTF-8, which the ANSI calls do not find (a clone in "Prüfung").
  std::string path = folder;
  for (char& c : path) {
    if (c == '/') c = s[0];
  }
  return path + s + "workspace";
}

// Made on first use: the separator string is another file's static.
const std::vector<Case>& cases() {
  static const std::vector<Case> all{
    {"the example of two groups: App with io.c and main.c (in the listing's name order) "
     "and an include path, Lib with lib.c",
     [](Conversion& c) {
       c.describeExample();
       return std::vector<std::string>{"proj/.project", "proj/.wrproject", c.ws};
     },
     [](const Conversion& c) { return c.ws; },
     [](const std::string& ws) {
       return Block{"App", {"App"}, {ws + s + "io.c", ws + s + "main.c"},
                    {{"Lib", {"App", "Lib"}, {ws + s + "Lib" + s + "lib.c"}, {}}}};
     },
     {},
     {"App", "Lib"},
     "-i \"WS" + s + "inc\"\r\n"},
    {"an empty root group: nine lines",
     [](Conversion& c) {
       c.describe("App", {}, "");
       return std::vector<std::string>{"proj/.project", "proj/.wrproject", c.ws};
     },
     [](const Conversion& c) { return c.ws; },
     [](const std::string&) { return Block{"App", {"App"}, {}, {}}; },
     {},
     {"App"},
     ""},
    {"an empty include list closes itself: the next list's entries are no include paths",
     [](Conversion& c) {
       c.describe("App", {},
                  "<listAttribute key=\"BLD::Info|Incl|S\"/>\n"
                  "<listAttribute key=\"BLD::Info|Definess|S\">\n"
                  "<stringAttribute value=\"-DUNDER\"/>\n</listAttribute>\n" + includes({"/inc"}));
       return std::vector<std::string>{"proj/.project", "proj/.wrproject", c.ws};
     },
     [](const Conversion& c) { return c.ws; },
     [](const std::string&) { return Block{"App", {"App"}, {}, {}}; },
     {},
     {"App"},
     "-i \"/inc\"\r\n"},
    {"the example workspace, with nested source folders and only .c and .h files",
     [](Conversion&) {
       const std::string app = examples() + s + "App" + s;
       return std::vector<std::string>{app + ".project", app + ".wrproject", examples()};
     },
     [](const Conversion&) { return examples(); },
     [](const std::string& ex) {
       const std::string lib = ex + s + "Lib" + s;
       return Block{
           "App",
           {"App"},
           {ex + s + "board.h"},
           {{"Lib",
             {"App", "Lib"},
             {lib + "lib.c"},
             {{"include", {"App", "Lib", "include"}, {lib + "include" + s + "lib.h"}, {}},
              {"src",
               {"App", "Lib", "src"},
               {lib + "src" + s + "util.c"},
               {{"core", {"App", "Lib", "src", "core"}, {lib + "src" + s + "core" + s + "core.c"},
                 {}}}}}},
            {"Drivers",
             {"App", "Drivers"},
             {ex + s + "Drivers" + s + "uart.c", ex + s + "Drivers" + s + "uart.h"},
             {}}}};
     },
     {"-ext", "c,h"},
     {"App", "Lib", "include", "src", "core", "Drivers"},
     // The include entry's own "/include" is kept as the file writes it.
     "-i \"WS" + s + "Lib/include\"\r\n-i \"$(WIND_BASE)/target/h\"\r\n"
     "-i \"$(VSB_DIR)/krnl/h/system\"\r\n-d \"BAUD=115200\"\r\n-d \"CPU=PPC32\"\r\n"
     "-d \"TOOL_FAMILY=gnu\"\r\n-d \"USE_UART\"\r\n-d \"WORKBENCH\"\r\n"},
};
  return all;
}

TEST_F(Conversion, EachProjectFileCaseGivesItsBlocksOutputAndFiles) {
  ASSERT_FALSE(examples().empty()) << "PLOVIK_EXAMPLES names the examples folder";
  int number = 0;
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.label);
    const std::string dest = "case" + std::to_string(++number);
    dir.makeFolder(dest);
    std::vector<std::string> args = c.arguments(*this);
    args.push_back(dest);
    args.insert(args.end(), c.options.begin(), c.options.end());
    const ProgramResult result = runPlovik(args, dir.str());
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(result.err, "");
    const std::string ws = c.workspace(*this);
    const std::string into = at(dest);
    const std::string pers = into + s + "person" + s + "App";
    std::string printed = "Creating Olvex/Olvex++ Project ...\n";
    for (const auto& group : c.groupsPrinted) {
      printed += "  Creating Group - " + group + "\n";
      if (group == "App" && !c.analyserPersonality.empty()) {
        printed += "  Creating Analyser Personality - " + pers + ".p_a\n";
      }
    }
    EXPECT_EQ(lines(result.out), printed + "Olvex/Olvex++ Project Completed!\n");

    const std::string prj = readFile(into + s + "App.prj");
    const Block root = c.blocks(ws);
    EXPECT_EQ(prj, projectFile(root, ws, into, "App"));
    EXPECT_EQ(filesBelow(into), (std::map<std::string, std::string>{
                                    {"App.prj", prj},
                                    {"person/App.p_a", replaced(c.analyserPersonality, "WS", ws)},
                                    {"person/App.p_c", ""},
                                    {"person/App.p_s", ""}}));
    std::function<void(const Block&)> madeFolders = [&](const Block& block) {
      EXPECT_TRUE(fs::is_directory(into + joined(block.path) + s + "output")) << block.name;
      for (const auto& sub : block.subGroups) madeFolders(sub);
    };
    madeFolders(root);
  }
}

}  // namespace
