// Whole conversions through the real program: the project file, the folders
// and personality files it leaves, and what it prints.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

#include "run_program.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string s(1, static_cast<char>(fs::path::preferred_separator));

// A Windows console turns "\n" into "\r\n" on the way; not the converter's doing.
std::string lines(const std::string& out) {
  std::string result;
  for (char c : out) {
    if (c != '\r') result += c;
  }
  return result;
}

std::string crlfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> splitCrlf(const std::string& text) {
  std::vector<std::string> result;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    result.push_back(text.substr(start, end - start));
  }
  return result;
}

// Every file below `folder` with its content.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) {
      files[fs::relative(entry.path(), folder).generic_string()] = readFile(entry.path());
    }
  }
  return files;
}

std::string subprojects(const std::vector<std::string>& paths) {
  std::string text = "<subprojects>\n";
  for (const auto& path : paths) text += "<subproject project=\"/" + path + "\"/>\n";
  return text + "</subprojects>\n";
}

std::string includes(const std::vector<std::string>& paths) {
  std::string text = "<listAttribute key=\"BLD::Info|Incl|gnu\">\n";
  for (const auto& path : paths) text += "<stringAttribute value=\"-I" + path + "\"/>\n";
  return text + "</listAttribute>\n";
}

std::string compilerCommand(const std::string& command) {
  return "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"" + command + "\"/>\n";
}

class Conversion : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("ws");
    dir.makeFolder("out");
  }
  // The project description (named `name` unless empty, referring to
  // `projects`) and the build description, outside the workspace folder.
  void describe(const std::string& name, const std::vector<std::string>& projects,
                const std::string& buildSettings) {
    std::string project = "<projectDescription>";
    if (!name.empty()) project += "<name>" + name + "</name>";
    project += "<projects>";
    for (const auto& referenced : projects) project += "<project>" + referenced + "</project>";
    dir.writeFile("proj/.project", project + "</projects></projectDescription>");
    dir.writeFile("proj/.wrproject", buildSettings);
  }
  ProgramResult convert(const std::vector<std::string>& options = {},
                        const std::string& dest = "out") {
    std::vector<std::string> args{"proj/.project", "proj/.wrproject", ws, dest};
    args.insert(args.end(), options.begin(), options.end());
    return runPlovik(args, dir.str());
  }
  // The absolute path the program makes of `relative`.
  std::string at(const std::string& relative) {
    return dir.str() + s + fs::path(relative).make_preferred().string();
  }
  // The example of two groups: App with two files and an include path, Lib
  // with one file.
  void describeExample() {
    dir.writeFile("ws/main.c", "");
    dir.writeFile("ws/io.c", "");
    dir.writeFile("ws/Lib/lib.c", "");
    describe("App", {"Lib"}, subprojects({"Lib"}) + includes({ws + s + "inc"}));
  }

  TempDir dir;
  const std::string ws = dir.str("ws");
  const std::string out = at("out");
  const std::string pers = out + s + "person" + s + "App";
};

TEST_F(Conversion, TheExampleProject) {
  describeExample();
  const ProgramResult result = convert();
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(lines(result.out), "Creating Olvex/Olvex++ Project ...\n"
                               "  Creating Group - App\n"
                               "  Creating Analyser Personality - " + pers + ".p_a\n"
                               "  Creating Group - Lib\n"
                               "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(result.err, "");
  // The folder listing gives the files in name order: io.c before main.c.
  EXPECT_EQ(readFile(out + s + "App.prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=App",
                       "SourcePath=" + ws + s + "App" + s,
                       "OutputPath=" + out + s + "App" + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", ws + s + "io.c", ws + s + "main.c",
                       "EndContainedFilesMarker", "StartSubProjectMarker", "StartProjectMarker",
                       "FolderName=Lib", "SourcePath=" + ws + s + "App" + s + "Lib" + s,
                       "OutputPath=" + out + s + "App" + s + "Lib" + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", ws + s + "Lib" + s + "lib.c",
                       "EndContainedFilesMarker", "EndSubProjectMarker"}));
  EXPECT_EQ(filesBelow(out), (std::map<std::string, std::string>{
                                 {"App.prj", readFile(out + s + "App.prj")},
                                 {"person/App.p_a", "-i \"" + ws + s + "inc\"\r\n"},
                                 {"person/App.p_c", ""},
                                 {"person/App.p_s", ""}}));
  EXPECT_TRUE(fs::is_directory(out + s + "App" + s + "Lib" + s + "output"));
}

TEST_F(Conversion, AnEmptyRootGroupGivesNineLinesAndNoAnalyserPersonality) {
  describe("App", {}, "");
  const ProgramResult result = convert();
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(lines(result.out), "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
                               "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(readFile(out + s + "App.prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=App",
                       "SourcePath=" + ws + s + "App" + s,
                       "OutputPath=" + out + s + "App" + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", "EndContainedFilesMarker"}));
  EXPECT_EQ(filesBelow(out).size(), 3u);
  EXPECT_EQ(filesBelow(out + s + "person"),
            (std::map<std::string, std::string>{{"App.p_c", ""}, {"App.p_s", ""}}));
}

TEST_F(Conversion, NestedProjectFoldersBecomeNestedGroups) {
  dir.writeFile("ws/Lib/a.c", "");
  dir.writeFile("ws/Lib/src/b.c", "");
  dir.writeFile("ws/Lib/src/core/c.c", "");
  dir.makeFolder("ws/Lib/doc");
  dir.writeFile("ws/Drv/d.c", "");
  describe("App", {"Lib", "Drv"}, subprojects({"Lib", "Drv"}));
  const ProgramResult result = convert();
  ASSERT_EQ(result.exitCode, 0) << result.out;

  std::vector<std::string> skeleton;
  for (const auto& line : splitCrlf(readFile(out + s + "App.prj"))) {
    if (line.ends_with("Marker") || line.starts_with("FolderName=")) skeleton.push_back(line);
  }
  const std::string start = "StartProjectMarker", end = "EndContainedFilesMarker",
                    open = "StartSubProjectMarker", close = "EndSubProjectMarker";
  EXPECT_EQ(skeleton, (std::vector<std::string>{
                          start, "FolderName=App", end, open,
                          start, "FolderName=Lib", end, open,
                          start, "FolderName=src", end, open,
                          start, "FolderName=core", end, close, close,
                          start, "FolderName=Drv", end, close}));
  EXPECT_TRUE(fs::is_directory(at("out/App/Lib/src/core/output")));
  EXPECT_TRUE(fs::is_directory(at("out/App/Drv/output")));
  EXPECT_NE(lines(result.out).find("  Creating Group - src\n  Creating Group - core\n"),
            std::string::npos);
}

TEST_F(Conversion, GivenMessageAndCompilerPersonalitiesAreNamedNotMade) {
  describe("App", {}, "");
  const ProgramResult result = convert({"-mp", "my.p_s", "-cp", "my.p_c"});
  EXPECT_EQ(result.exitCode, 0);
  const auto prj = splitCrlf(readFile(out + s + "App.prj"));
  ASSERT_EQ(prj.size(), 9u);
  EXPECT_EQ(prj[5], "SubsPers=" + at("my.p_s"));
  EXPECT_EQ(prj[7], "CompPers=" + at("my.p_c"));
  EXPECT_FALSE(fs::exists(at("out/person")));
  EXPECT_FALSE(fs::exists(at("my.p_s")));
}

TEST_F(Conversion, AGivenAnalyserPersonalityIsAppendedWithCrLfLineEnds) {
  describe("App", {}, includes({"inc"}));
  for (const std::string given : {"x\ny\n", "x\r\ny\r\n"}) {
    dir.writeFile("given.p_a", given);
    dir.makeFolder("fresh");
    const ProgramResult result =
        convert({"-mp", "my.p_s", "-ap", "given.p_a", "-cp", "my.p_c"}, "fresh");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(filesBelow(at("fresh/person")),
              (std::map<std::string, std::string>{{"App.p_a", "-i \"inc\"\r\nx\r\ny\r\n"}}));
    fs::remove_all(at("fresh"));
  }
}

TEST_F(Conversion, AMissingAnalyserPersonalityIsReportedAndTheRunGoesOn) {
  describe("App", {}, includes({"inc"}));
  const ProgramResult result = convert({"-ap", "missing.p_a"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(lines(result.out), "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
                               "  Creating Analyser Personality - " + pers + ".p_a\n"
                               "Couldnt open file\nOlvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(readFile(pers + ".p_a"), "-i \"inc\"\r\n");
}

TEST_F(Conversion, MacrosAreWrittenInByteOrderOfTheirNames) {
  describe("App", {}, compilerCommand("cc -DB -DA -DAB -Da -DQ=say\"hi\" -c"));
  ASSERT_EQ(convert().exitCode, 0);
  EXPECT_EQ(readFile(pers + ".p_a"),
            crlfLines({"-d \"A\"", "-d \"AB\"", "-d \"B\"", "-d \"Q=say\"hi\"\"", "-d \"a\""}));
}

TEST_F(Conversion, ConvertingAgainGivesTheSameFiles) {
  describeExample();
  ASSERT_EQ(convert().exitCode, 0);
  const auto first = filesBelow(out);
  const ProgramResult again = convert();
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(filesBelow(out), first);
}

TEST_F(Conversion, AFileWhereAnOutputFolderBelongsIsAccepted) {
  describeExample();
  dir.writeFile("out/App/output", "mine");
  EXPECT_EQ(convert().exitCode, 0);
  EXPECT_EQ(readFile(at("out/App/output")), "mine");
}

// A second run that fails part-way, with a source file more than the first,
// must leave the first run's files as they were and no temporary file.
class FailurePartWay : public Conversion {
 protected:
  void SetUp() override {
    Conversion::SetUp();
    describeExample();
    ASSERT_EQ(convert().exitCode, 0);
    earlierProject = readFile(out + s + "App.prj");
    dir.writeFile("ws/new.c", "");
  }
  void expectFailure(const std::string& lastLine) {
    const ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(lines(result.out).ends_with("\n" + lastLine + "\n")) << result.out;
    EXPECT_EQ(readFile(out + s + "App.prj"), earlierProject);
    for (const auto& [path, content] : filesBelow(out)) {
      EXPECT_FALSE(path.find(".tmp") != std::string::npos) << path;
    }
  }
  std::string earlierProject;
};

TEST_F(FailurePartWay, AFileWhereAGroupFolderBelongs) {
  fs::remove_all(at("out/App/Lib"));
  dir.writeFile("out/App/Lib", "");
  expectFailure("Could not create directory: " + out + s + "App" + s + "Lib" + s + "output" + s);
}

TEST_F(FailurePartWay, AFileWhereThePersonFolderBelongs) {
  fs::remove_all(at("out/person"));
  dir.writeFile("out/person", "");
  expectFailure("Could not write file: " + pers + ".p_s");
}

TEST_F(Conversion, AProjectFileThatCannotBeWrittenStopsTheRunFirst) {
  describeExample();
  dir.writeFile("file", "");
  dir.makeFolder("out/App.prj");
  const std::string longName(300, 'n');
  for (const auto& [dest, options, prj] :
       std::vector<std::tuple<std::string, std::vector<std::string>, std::string>>{
           {"missing", {}, at("missing") + s + "App.prj"},
           {"file", {}, at("file") + s + "App.prj"},
           {"out", {}, out + s + "App.prj"}}) {
    const ProgramResult result = convert(options, dest);
    EXPECT_EQ(result.exitCode, 1) << dest;
    EXPECT_EQ(lines(result.out), "Could not write file: " + prj + "\n");
  }
  describe("", {}, "");
  const ProgramResult result = convert({"-pn", longName});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "Could not write file: " + out + s + longName + ".prj\n");
  EXPECT_EQ(filesBelow(dir.path()).count("file"), 1u);
  EXPECT_FALSE(fs::exists(at("missing")));
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
}

TEST_F(Conversion, AReadOnlyProjectFileIsNotReplaced) {
  describe("App", {}, "");
  dir.writeFile("out/App.prj", "earlier");
  fs::permissions(out + s + "App.prj", fs::perms::owner_read | fs::perms::group_read |
                                           fs::perms::others_read);
  if (std::ofstream(out + s + "App.prj", std::ios::app).is_open()) {
    GTEST_SKIP() << "this user may write read-only files (root), so the case cannot arise";
  }
  const ProgramResult result = convert();
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "Could not write file: " + out + s + "App.prj\n");
  EXPECT_EQ(readFile(out + s + "App.prj"), "earlier");
}

TEST_F(Conversion, NamesThatLeadOutOfTheDestinationAreRefused) {
  for (const std::string name : {"..", "a/b", "a\\b"}) {
    describe(name, {}, "");
    ProgramResult result = convert();
    EXPECT_EQ(result.exitCode, 1) << name;
    EXPECT_EQ(lines(result.out), "Invalid project name: " + name + "\n");

    describe("", {}, "");
    result = convert({"-pn", name});
    EXPECT_EQ(lines(result.out), "Invalid project name: " + name + "\n");

    describe("App", {name}, subprojects({name}));
    result = convert();
    EXPECT_EQ(result.exitCode, 1) << name;
    EXPECT_EQ(lines(result.out), "Invalid project name: " + name + "\n");
  }
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(Conversion, TheExampleWorkspace) {
  const char* examples = std::getenv("PLOVIK_EXAMPLES");
  ASSERT_NE(examples, nullptr) << "PLOVIK_EXAMPLES names the examples folder";
  // Separators swapped by hand: through MinGW's fs::path an ANSI path comes
  // back as UTF-8, which the ANSI calls do not find (a clone in "Prüfung").
  std::string ex = examples;
  for (char& c : ex) {
    if (c == '/') c = s[0];
  }
  ex += s + "workspace";
  const std::string app = ex + s + "App" + s;
  const ProgramResult result = runPlovik(
      {app + ".project", app + ".wrproject", ex, out, "-ext", "c,h"}, dir.str());
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(lines(result.out),
            "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
            "  Creating Analyser Personality - " + pers + ".p_a\n"
            "  Creating Group - Lib\n  Creating Group - include\n  Creating Group - src\n"
            "  Creating Group - core\n  Creating Group - Drivers\n"
            "Olvex/Olvex++ Project Completed!\n");

  std::vector<std::string> expected{"VersionTag45"};
  auto block = [&](const std::string& name, const std::string& path,
                   const std::vector<std::string>& files) {
    expected.insert(expected.end(),
                    {"StartProjectMarker", "FolderName=" + name, "SourcePath=" + ex + s + path + s,
                     "OutputPath=" + out + s + path + s + "output" + s, "SubsPers=" + pers + ".p_s",
                     "AnalPers=" + pers + ".p_a", "CompPers=" + pers + ".p_c"});
    for (const auto& file : files) expected.push_back(ex + s + file);
    expected.push_back("EndContainedFilesMarker");
  };
  block("App", "App", {"board.h"});
  expected.push_back("StartSubProjectMarker");
  block("Lib", "App" + s + "Lib", {"Lib" + s + "lib.c"});
  expected.push_back("StartSubProjectMarker");
  block("include", "App" + s + "Lib" + s + "include", {"Lib" + s + "include" + s + "lib.h"});
  block("src", "App" + s + "Lib" + s + "src", {"Lib" + s + "src" + s + "util.c"});
  expected.push_back("StartSubProjectMarker");
  block("core", "App" + s + "Lib" + s + "src" + s + "core",
        {"Lib" + s + "src" + s + "core" + s + "core.c"});
  expected.insert(expected.end(), {"EndSubProjectMarker", "EndSubProjectMarker"});
  block("Drivers", "App" + s + "Drivers",
        {"Drivers" + s + "uart.c", "Drivers" + s + "uart.h"});
  expected.push_back("EndSubProjectMarker");
  EXPECT_EQ(readFile(out + s + "App.prj"), crlfLines(expected));
}

}  // namespace
