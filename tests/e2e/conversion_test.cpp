// Whole conversions through the real program: the project file, the folders
// and personality files it leaves, and what it prints.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

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
  EXPECT_EQ(filesBelow(at("out/person")),
            (std::map<std::string, std::string>{{"App.p_a", ""}}));
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

}  // namespace
