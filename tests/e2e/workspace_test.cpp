// Plovik -workspace through the real program, on small workspaces made
// here: what is found, one failing project among good ones, the same bytes
// whatever the number of threads, the summary and the merged database.
#include <algorithm>
#include <filesystem>
#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

std::string projectFile(const std::string& name, const std::vector<std::string>& refs = {}) {
  std::string projects;
  for (const auto& ref : refs) projects += "<project>" + ref + "</project>\n";
  return "<projectDescription>\n<name>" + name + "</name>\n<projects>\n" + projects +
         "</projects>\n</projectDescription>\n";
}

std::string buildFile(const std::string& define, const std::vector<std::string>& subs = {}) {
  return subprojects(subs) +
         "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"gnu\"/>\n"
         "<listAttribute key=\"BLD::Info|Definess|gnu\">\n<stringAttribute value=\"-D" +
         define + "\"/>\n</listAttribute>\n";
}

// The entries of a compilation database, each as its text.
std::multiset<std::string> entriesOf(const std::string& database) {
  std::multiset<std::string> entries;
  for (std::size_t start = database.find("\n  {"); start != std::string::npos;) {
    const std::size_t end = database.find("\n  }", start + 1);
    entries.insert(database.substr(start + 1, end + 3 - start));
    start = database.find("\n  {", end);
  }
  return entries;
}

// Standard output's lines.
std::vector<std::string> linesOf(const std::string& out) {
  std::vector<std::string> split;
  const std::string text = lines(out);
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    split.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return split;
}

class WorkspaceRun : public Conversion {
 public:
  void project(const std::string& folder, const std::string& name, const std::string& define,
               const std::vector<std::string>& refs = {}) {
    dir.writeFile("ws/" + folder + "/.project", projectFile(name, refs));
    std::vector<std::string> subs;
    for (const auto& ref : refs) subs.push_back("/" + ref);
    dir.writeFile("ws/" + folder + "/.wrproject", buildFile(define, subs));
    dir.writeFile("ws/" + folder + "/" + name + ".c", "int x;\n");
  }
  // App uses Lib; Rtp stands alone; Inner lies inside App's folder.
  void threeAndANested() {
    project("Lib", "Lib", "LIB");
    project("App", "App", "APP", {"Lib"});
    project("apps/Rtp", "Rtp", "RTP");
    project("App/tests/Inner", "Inner", "INNER");
    // Workbench's own folder holds no project to convert.
    dir.writeFile("ws/.metadata/.plugins/p/.project", projectFile("Meta"));
    dir.writeFile("ws/.metadata/.plugins/p/.wrproject", buildFile("META"));
  }
  ProgramResult run(const std::vector<std::string>& options, const std::string& dest = "out") {
    std::vector<std::string> args{"-workspace", "ws", dest};
    args.insert(args.end(), options.begin(), options.end());
    return runPlovik(args, dir.str());
  }
  std::vector<std::string> summary(const ProgramResult& result) {
    const auto all = linesOf(result.out);
    const auto start = std::find_if(all.begin(), all.end(), [](const std::string& line) {
      return line.rfind("Workspace: ", 0) == 0;
    });
    return {start, all.end()};
  }
};

TEST_F(WorkspaceRun, EveryProjectNestedOnesTooEachIntoItsOwnFolder) {
  threeAndANested();
  const ProgramResult result = run({"-cdb", "out/all.json"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(summary(result), (std::vector<std::string>{
                                 "Workspace: 4 of 4 projects converted", "App: converted",
                                 "Lib: converted", "Rtp: converted", "Inner: converted",
                                 "Compilation database: 4 entries of 4 projects"}));
  for (const std::string name : {"App", "Lib", "Rtp", "Inner"}) {
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "out" / name / (name + ".prj"))) << name;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "Meta"));
}

TEST_F(WorkspaceRun, ADestinationInsideTheWorkspaceIsNeitherSearchedNorScanned) {
  threeAndANested();
  ASSERT_EQ(run({"-wb"}, "ws/out").exitCode, 0);
  // The second run meets the first one's output in the workspace.
  const ProgramResult again = run({"-wb"}, "ws/out");
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(summary(again).front(), "Workspace: 4 of 4 projects converted");
  EXPECT_FALSE(fs::exists(dir.path() / "ws" / "out" / "App" / "App" / "out"));
}

TEST_F(WorkspaceRun, AFailingProjectStopsNoOtherAndReplacesNothingOfItsOwn) {
  threeAndANested();
  ASSERT_EQ(run({"-cdb", "out/all.json"}).exitCode, 0);
  const std::string earlierLib = readFile(dir.path() / "out" / "Lib" / "Lib.prj");
  dir.writeFile("ws/Lib/.wrproject", buildFile("LIB") + "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd|gnu\" value=\"cc\"/>\n");
  dir.writeFile("ws/Lib/.project", "<projectDescription><name>Lib</name>");
  const ProgramResult result = run({"-cdb", "out/all.json", "-j", "3"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(summary(result),
            (std::vector<std::string>{
                "Workspace: 3 of 4 projects converted", "App: converted",
                "Lib: failed: WR Project file parsing encountered unexpected EOF",
                "Rtp: converted", "Inner: converted",
                "Compilation database: 4 entries of 3 projects, without the projects that "
                "failed: Lib"}));
  EXPECT_EQ(readFile(dir.path() / "out" / "Lib" / "Lib.prj"), earlierLib);
  // Each project's lines stay under its own heading.
  EXPECT_NE(lines(result.out).find("Project 2 of 4: Lib (ws" + s + "Lib)\n"
                            "WR Project file parsing encountered unexpected EOF\n"
                            "Project 3 of 4: Rtp"),
            std::string::npos)
      << result.out;
}

TEST_F(WorkspaceRun, TheSameBytesWhateverTheNumberOfThreads) {
  threeAndANested();
  project("Broken", "Broken", "B");
  dir.writeFile("ws/Broken/.project", "<projectDescription><name>Broken");
  std::string first;
  std::map<std::string, std::string> firstFiles;
  for (const std::string jobs : {"1", "2", "4", "16"}) {
    fs::remove_all(dir.path() / "out");
    const ProgramResult result = run({"-cdb", "out/all.json", "-j", jobs});
    EXPECT_EQ(result.exitCode, 1);
    if (first.empty()) {
      first = result.out;
      firstFiles = filesBelow(dir.path() / "out");
      continue;
    }
    EXPECT_EQ(result.out, first) << "-j " << jobs;
    EXPECT_EQ(filesBelow(dir.path() / "out"), firstFiles) << "-j " << jobs;
  }
}

// One entry per file, as the single runs enter it: its owner's, Lib's own
// for Lib.c (not App's), and App's for the file of Inner it lists as its own
// (App's run meets it first).
TEST_F(WorkspaceRun, TheDatabaseHoldsEachFileOnceItsOwnersEntry) {
  threeAndANested();
  ASSERT_EQ(run({"-cdb", "out/all.json"}).exitCode, 0);
  dir.makeFolder("one");
  std::multiset<std::string> single;
  const std::vector<std::string> folders{"App", "Lib", "apps" + s + "Rtp",
                                         "App" + s + "tests" + s + "Inner"};
  for (const std::string& folder : folders) {
    const std::string name = fs::path(folder).filename().string();
    const std::string at = "ws" + s + folder + s;
    const ProgramResult result = runPlovik({at + ".project", at + ".wrproject", "ws", "one",
                                            "-wb", "-cdb", "one/" + name + ".json"},
                                           dir.str());
    ASSERT_EQ(result.exitCode, 0) << result.out;
    for (const auto& entry : entriesOf(readFile(dir.path() / "one" / (name + ".json")))) {
      if (single.count(entry) == 0) single.insert(entry);
    }
  }
  std::map<std::string, std::string> defineOf;  // each file's name, the define of its entry
  for (const auto& entry : entriesOf(readFile(dir.path() / "out" / "all.json"))) {
    EXPECT_EQ(single.count(entry), 1u) << entry;
    const std::size_t end = entry.find(".c\"");  // the file's, on its own line
    const std::size_t start = entry.find_last_of("/\\", end) + 1;
    const std::size_t define = entry.find("\"-D") + 3;
    const std::string value = entry.substr(define, entry.find('"', define) - define);
    EXPECT_TRUE(defineOf.emplace(entry.substr(start, end - start), value).second) << entry;
  }
  EXPECT_EQ(defineOf, (std::map<std::string, std::string>{
                          {"App", "APP"}, {"Inner", "APP"}, {"Lib", "LIB"}, {"Rtp", "RTP"}}));
}

TEST_F(WorkspaceRun, ByProjectSpecAndFailuresOfTheWholeRun) {
  project("Lib", "Lib", "LIB");
  project("App", "App", "APP");
  const struct {
    std::vector<std::string> options;
    int exitCode;
    std::string last;
  } cases[] = {
      {{"-spec", "Lib:diab"}, 1, "Lib: failed: Unknown build spec: diab (known: gnu)"},
      {{"-spec", "App:gnu", "-j", "0"}, 1, "Invalid value for -j: \"0\" (give 1 to 1024)"},
      {{"-spec", "lib:diab"}, 1,
       "Invalid value for -spec: \"lib:diab\" (give a project of the workspace: App, Lib)"},
      {{"-var", "C:X=1"}, 1,
       "Invalid value for -var: \"C:X=1\" (give a project of the workspace: App, Lib)"},
  };
  for (const auto& c : cases) {
    const ProgramResult result = run(c.options);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(linesOf(result.out).back(), c.last) << result.out;
  }
  EXPECT_NE(lines(run({"-spec", "Lib:diab"}).out).find("App: converted\n"), std::string::npos);
  fs::remove_all(dir.path() / "ws");
  dir.makeFolder("ws/empty");
  EXPECT_EQ(linesOf(run({"-wb"}).out),
            (std::vector<std::string>{"No Workbench project (a .project beside a .wrproject) in: ws"}));
  
}

// The merged database is checked against every project's inputs, outputs
// and folders before any project converts: refused, nothing is written.
TEST_F(WorkspaceRun, AMergedDatabaseInThePlaceOfAnotherFileIsRefusedBeforeAnyProject) {
  project("App", "App", "APP", {"Lib"});
  project("Lib", "Lib", "LIB");
  ASSERT_EQ(run({"-cdb", "out/Lib/compile_commands.json"}).exitCode, 1);
  ASSERT_EQ(run({"-wb"}).exitCode, 0);
  dir.writeFile("ws/App/.wrproject", buildFile("NEW", {"/Lib"}));
  dir.writeFile("out/kept.json", "[]\n");
#ifndef _WIN32
  // Windows (and Wine) make no symbolic link for an ordinary user.
  fs::create_symlink(dir.path() / "out" / "kept.json", dir.path() / "out" / "link.json");
  ASSERT_EQ(mkfifo((dir.path() / "out" / "fifo").c_str(), 0600), 0);
#endif
  const std::string project = readFile(dir.path() / "ws" / "App" / ".project");
  const std::string personality = readFile(dir.path() / "out" / "App" / "person" / "App.p_a");
  const struct {
    std::string database;
    std::string line;  // the failure, the path following it
  } cases[] = {
      {"ws/App/.project", "Would overwrite an input of the run: "},
      {"ws/Lib/.wrproject", "Would overwrite an input of the run: "},
      {"out/App/App.prj", "Would overwrite another output of the run: "},
      {"out/Lib/person/Lib.p_a", "Would overwrite another output of the run: "},
      {"out/Lib/compile_commands.json", "Would overwrite another output of the run: "},
      {"out/Lib", "Would overwrite another output of the run: "},
      {"out/App/App/output", "Would overwrite another output of the run: "},
      {"out", "Would overwrite another output of the run: "},
#ifndef _WIN32
      {"out/link.json", "Not a regular file, not replaced: "},
      {"out/fifo", "Not a regular file, not replaced: "},
      {"/dev/null", "Not a regular file, not replaced: "},
#endif
  };
  for (const auto& c : cases) {
    for (const bool describe : {false, true}) {
      std::vector<std::string> options{"-cdb", c.database, "-j", "2"};
      if (describe) options.push_back("-describe");
      const ProgramResult result = run(options);
      EXPECT_EQ(result.exitCode, 1) << c.database;
      const std::string out = lines(result.out);
      if (describe) {
        EXPECT_NE(out.find("\n  \"failure\": \"" + c.line), std::string::npos) << out;
      } else {
        EXPECT_EQ(linesOf(result.out).size(), 1u) << out;
        EXPECT_EQ(out.rfind(c.line, 0), 0u) << c.database << ": " << out;
      }
    }
    EXPECT_EQ(readFile(dir.path() / "ws" / "App" / ".project"), project) << c.database;
    EXPECT_EQ(readFile(dir.path() / "out" / "App" / "person" / "App.p_a"), personality)
        << c.database;
    EXPECT_EQ(readFile(dir.path() / "out" / "kept.json"), "[]\n");
  }
  // Beside the projects' files it is written.
  EXPECT_EQ(run({"-cdb", "out/all.json"}).exitCode, 0);
  EXPECT_NE(readFile(dir.path() / "out" / "App" / "person" / "App.p_a"), personality);
}

// A run where no project converts leaves the merged database as it was.
TEST_F(WorkspaceRun, NoProjectConvertedReplacesNoDatabase) {
  project("Lib", "Lib", "LIB");
  project("App", "App", "APP");
  ASSERT_EQ(run({"-cdb", "out/all.json"}).exitCode, 0);
  const std::string earlier = readFile(dir.path() / "out" / "all.json");
  ASSERT_NE(earlier, "[]\n");
  const ProgramResult none = run({"-cdb", "out/all.json", "-spec", "Nope"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(linesOf(none.out).back(), "Compilation database: not replaced, no project converted")
      << none.out;
  EXPECT_EQ(readFile(dir.path() / "out" / "all.json"), earlier);
  const ProgramResult some = run({"-cdb", "out/all.json", "-spec", "Lib:Nope"});
  EXPECT_EQ(some.exitCode, 1);
  EXPECT_EQ(linesOf(some.out).back(),
            "Compilation database: 1 entry of 1 project, without the projects that failed: Lib");
  EXPECT_EQ(entriesOf(readFile(dir.path() / "out" / "all.json")).size(), 1u);
}

// With -describe anywhere the answer is one document naming the failure the
// run would end with, and the run's status.
TEST_F(WorkspaceRun, DescribedWhateverTheOrderOfTheOptions) {
  project("Lib", "Lib", "LIB");
  project("App", "App", "APP");
  const struct {
    std::vector<std::string> options;
    int exitCode;
    std::string failure;  // the document's, as JSON; "null": none
  } cases[] = {
      {{"-j", "0", "-describe"}, 1, "\"Invalid value for -j: \\\"0\\\" (give 1 to 1024)\""},
      {{"-describe", "-j", "0"}, 1, "\"Invalid value for -j: \\\"0\\\" (give 1 to 1024)\""},
      {{"-var", "=x", "-describe"}, 1, "\"Invalid value for -var: \\\"=x\\\" (give NAME=VALUE)\""},
      {{"-spec", "", "-describe"}, 1, "\"Missing value for -spec\""},
      {{"-spec", "Nope:T", "-describe"}, 1,
       "\"Invalid value for -spec: \\\"Nope:T\\\" (give a project of the workspace: App, Lib)\""},
      {{"-spec", "App:gnu", "-describe"}, 0, "null"},
  };
  for (const auto& c : cases) {
    const ProgramResult result = run(c.options, "new");
    const std::string doc = lines(result.out);
    EXPECT_EQ(result.exitCode, c.exitCode) << doc;
    EXPECT_EQ(doc.rfind("{\n  \"version\": 1,\n  \"mode\": \"workspace\",", 0), 0u) << doc;
    EXPECT_NE(doc.find("\n  \"failure\": " + c.failure + "\n}\n"), std::string::npos) << doc;
  }
  EXPECT_FALSE(fs::exists(dir.path() / "new"));
}

// -project converts the named projects alone, numbered among themselves;
// a name of no project ends the run before any is converted.
TEST_F(WorkspaceRun, OnlyTheChosenProjects) {
  threeAndANested();
  const ProgramResult result = run({"-project", "Rtp", "-project", "Lib", "-cdb", "out/all.json"});
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(summary(result), (std::vector<std::string>{
                                 "Workspace: 2 of 2 projects converted", "Lib: converted",
                                 "Rtp: converted", "Compilation database: 2 entries of 2 projects"}));
  // The folder in the platform's own separators.
  EXPECT_EQ(linesOf(result.out).front().rfind("Project 1 of 2: Lib (ws", 0), 0u) << result.out;
  EXPECT_FALSE(fs::exists(dir.path() / "out" / "App"));

  const ProgramResult unknown = run({"-project", "Lib", "-project", "Nope"}, "other");
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_EQ(linesOf(unknown.out),
            (std::vector<std::string>{"Invalid value for -project: \"Nope\" (give a project of "
                                      "the workspace: App, Lib, Rtp, Inner)"}));
  EXPECT_FALSE(fs::exists(dir.path() / "other"));
}

// The option's two values are a whole line; without them it names its fault
// rather than showing the usage.
TEST_F(WorkspaceRun, TheOptionsTwoValuesAreAWholeLine) {
  project("Lib", "Lib", "LIB");
  const ProgramResult shortLine = runPlovik({"-workspace", "ws", "out"}, dir.str());
  EXPECT_EQ(shortLine.exitCode, 0) << shortLine.out;
  EXPECT_TRUE(fs::exists(dir.path() / "out" / "Lib" / "Lib.prj"));
  const ProgramResult noValues = runPlovik({"-workspace", "ws"}, dir.str());
  EXPECT_EQ(noValues.exitCode, 1);
  EXPECT_EQ(lines(noValues.out).find("Usage:"), std::string::npos) << noValues.out;
  EXPECT_EQ(lines(runPlovik({}, dir.str()).out).rfind("Usage: Plovik <source_proj>", 0), 0u);
}

TEST_F(WorkspaceRun, DescribedAsOneDocumentOfTheProjectsDescriptions) {
  project("Lib", "Lib", "LIB");
  project("App", "App", "APP", {"Lib"});
  const ProgramResult result = run({"-describe", "-spec", "App:none"}, "new");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_FALSE(fs::exists(dir.path() / "new"));
  const std::string doc = lines(result.out);
  EXPECT_EQ(doc.rfind("{\n  \"version\": 1,\n  \"mode\": \"workspace\",\n  \"workspace\": \"ws\",", 0), 0u);
  EXPECT_NE(doc.find("      \"name\": \"App\",\n      \"folder\": \"ws" + std::string(s == "\\" ? "\\\\" : "/") + "App\""), std::string::npos);
  EXPECT_NE(doc.find("        \"failure\": \"Unknown build spec: none (known: gnu)\"\n      }\n    },"), std::string::npos) << doc;
  EXPECT_NE(doc.find("        \"failure\": null\n      }\n    }\n  ],\n  \"warnings\": [],\n  \"failure\": null\n}\n"), std::string::npos) << doc;
}

}  // namespace
