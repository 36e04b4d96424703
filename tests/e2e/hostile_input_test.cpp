// Hostile and unusual input against the newer features, through the real
// program: the commit (what it may replace, what killed runs left),
// containment of the real-project mode in the workspace, values that would
// forge lines, and the run's own outputs met again by the next run's scan.
// Special files (FIFOs, devices, links) and memory limits are tried in
// tests/limits/hostile_limits_test.cpp.
#include <filesystem>
#include <functional>
#include <set>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

// --- The commit ---------------------------------------------------------

// A database under the name of an input would lose that input for good, and
// under the name of another output one of the two.
TEST_F(Conversion, ADatabaseNamingAnInputOrAnotherOutputEndsTheRunBeforeAnythingIsWritten) {
  describeExample();
  dir.writeFile("given.p_s", "given");
  dir.writeFile("given.p_a", "given");
  ASSERT_EQ(convert().exitCode, 0);
  // Without the group folder: the run would make it again, under the database's name.
  fs::remove_all(out + s + "App");
  const auto earlier = filesBelow(dir.path());
  const std::string input = "Would overwrite an input of the run: ";
  const std::string output = "Would overwrite another output of the run: ";
  for (const auto& [database, message] : std::vector<std::pair<std::string, std::string>>{
           {"proj/.project", input},
           {"proj/.wrproject", input},
           {"proj/../given.p_s", input},  // -mp, by another path
           {"given.p_a", input},          // -ap
           {"out/App.prj", output},
           {"out/person/App.p_a", output},
           {"out/App", output},
           {"out/App/output", output}}) {
    const ProgramResult result =
        convert({"-mp", "given.p_s", "-ap", "given.p_a", "-cdb", database});
    EXPECT_EQ(result.exitCode, 1) << database;
    // The database's path as the command line made it absolute.
    EXPECT_EQ(lines(result.out), message + dir.str() + s + database + "\n");
    EXPECT_EQ(filesBelow(dir.path()), earlier) << database;
  }
  EXPECT_FALSE(fs::exists(out + s + "App"));
}

// The given analyser personality may be the generated one: it is read
// before anything is written. Any other output over an input is refused.
TEST_F(Conversion, AnOutputOverAnInputIsRefusedButTheAnalyserPersonalityMayBeItsOwnSource) {
  describeExample();
  dir.writeFile("out/person/App.p_a", "extra\n");
  const ProgramResult own = convert({"-ap", "out/person/App.p_a"});
  ASSERT_EQ(own.exitCode, 0) << own.out;
  EXPECT_TRUE(readFile(out + s + "person" + s + "App.p_a").ends_with("extra\r\n"));
  const ProgramResult other = convert({"-mp", "out/person/App.p_c"});
  EXPECT_EQ(other.exitCode, 1);
  EXPECT_EQ(lines(other.out), "Would overwrite an input of the run: " + out + s + "person" + s +
                                  "App.p_c\n");
}

TEST_F(Conversion, TemporaryFilesThatKilledRunsLeftAreRemoved) {
  describeExample();
  dir.writeFile("out/cc.json.tmp", "[half a database");
  dir.writeFile("out/App.prj.tmp", "VersionTag45");
  for (int i = 1; i < 100; ++i) dir.writeFile("out/App.prj.tmp" + std::to_string(i), "");
  dir.writeFile("out/App.prj.tmp100", "not one of its names");
  const ProgramResult result = convert({"-cdb", "out/cc.json"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(out)) names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"App", "App.prj", "App.prj.tmp100", "cc.json", "person"}));
}

TEST_F(Conversion, NoFreeTemporaryNameIsSaid) {
  describeExample();
  dir.makeFolder("out/App.prj.tmp");
  for (int i = 1; i < 100; ++i) dir.makeFolder("out/App.prj.tmp" + std::to_string(i));
  const ProgramResult result = convert();
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "No free temporary name beside: " + out + s + "App.prj\n");
}

// Whatever the conversion refuses before it writes, -describe refuses with
// the same line and status; neither leaves a file behind.
TEST_F(Conversion, DescribeRefusesWhatTheConversionRefusesBeforeWriting) {
  describeExample();
  ASSERT_EQ(convert().exitCode, 0);
  const std::string prj = out + s + "App.prj";
  const std::string pa = out + s + "person" + s + "App.p_a";
  const std::string written = readFile(prj);
  auto folders = [&](int from) {
    for (int i = from; i < 100; ++i) dir.makeFolder("out/App.prj.tmp" + (i ? std::to_string(i) : ""));
  };
  struct Case {
    const char* what;
    std::function<void()> arrange;
    std::vector<std::string> options;
    std::string message;
  };
  std::vector<Case> cases{
      {"a folder at the database", [&] { dir.makeFolder("cc"); }, {"-cdb", "cc"},
       "Could not write file: " + at("cc")},
      {"every temporary name taken", [&] { folders(0); }, {}, "No free temporary name beside: " + prj},
      // The project file exists: its earlier version needs a second name.
      {"one temporary name free", [&] { folders(1); }, {}, "No free temporary name beside: " + prj},
#ifndef _WIN32
      {"a device as the database", [] {}, {"-cdb", "/dev/null"},
       "Not a regular file, not replaced: /dev/null"},
      {"a FIFO at a personality file",
       [&] { fs::remove(pa); ASSERT_EQ(mkfifo(pa.c_str(), 0600), 0); }, {},
       "Not a regular file, not replaced: " + pa},
      {"a link at the project file",
       [&] { fs::rename(prj, at("kept")); fs::create_symlink(at("kept"), prj); }, {},
       "Not a regular file, not replaced: " + prj},
#endif
  };
  for (const Case& c : cases) {
    fs::remove_all(out);
    fs::create_directory(out);
    ASSERT_EQ(convert().exitCode, 0);
    c.arrange();
    std::set<std::string> before;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) before.insert(entry.path().string());
    const ProgramResult converted = convert(c.options);
    std::vector<std::string> options = c.options;
    options.push_back("-describe");
    const ProgramResult described = convert(options);
    EXPECT_EQ(converted.exitCode, 1) << c.what;
    EXPECT_EQ(lines(converted.out), c.message + "\n") << c.what;
    EXPECT_EQ(described.exitCode, 1) << c.what;
    std::string json = c.message;
    for (std::size_t at = 0; (at = json.find('\\', at)) != std::string::npos; at += 2) json.insert(at, 1, '\\');
    EXPECT_NE(described.out.find("\"failure\": \"" + json + "\""), std::string::npos)
        << c.what << described.out;
    std::set<std::string> after;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) after.insert(entry.path().string());
    EXPECT_EQ(after, before) << c.what;
  }
#ifndef _WIN32
  EXPECT_EQ(readFile(at("kept")), written);
#endif
}

// --- Containment ------------------------------------------------------------

// Sub-project paths of the build description and references of the
// .project that climb out of the workspace, however they are spelt.
TEST_F(Conversion, TheModeNeverLeavesTheWorkspace) {
  dir.writeFile("outside/secret.c", "");
  dir.writeFile("outside/.project", "<projectDescription><name>outside</name><projects></projects></projectDescription>");
  dir.writeFile("ws/main.c", "");
  for (const auto& [entries, references] :
       std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>>{
           {{"/../outside"}, {}},
           {{"\\../outside"}, {}},
           {{"/./Lib/../../../outside"}, {}},
           {{}, {"/../outside"}},
           {{}, {"//../outside"}}}) {
    describe("App", references,
             subprojects(entries) + includes({"%Proj-/../outside%/h", "%Proj-..%/h"}));
    fs::remove_all(out);
    fs::create_directory(out);
    const ProgramResult result = convert({"-wb"});
    EXPECT_EQ(result.exitCode, 0) << result.out;
    const std::string prj = readFile(out + s + "App.prj");
    EXPECT_EQ(prj.find("secret.c"), std::string::npos) << prj;
    EXPECT_NE(lines(result.out).find("Warning: referenced project outside not found"),
              std::string::npos)
        << result.out;
    EXPECT_FALSE(fs::exists(out + s + "App" + s + "outside"));
  }
}

// --- Values -----------------------------------------------------------------

// A line break from an entity (in an include entry or a quoted define) or
// a -var value would forge a line of the personality file; the database keeps the value, escaped.
TEST_F(Conversion, ValuesWithLineBreaksAreLeftOutOfThePersonalityWithAWarning) {
  dir.writeFile("ws/main.c", "");
  describe("App", {},
           // Quoted, as the entries are split into words as a shell splits them.
           subprojects({}) + includes({"'a&#10;-d &quot;FORGED'", "'$(V)/h'", "/kept"}) +
               compilerCommand("cc -DKEPT") +
               "<listAttribute key=\"BLD::Info|Definess\">\n"
               "<stringAttribute value=\"-DM=&quot;x&#13;y&quot;\"/>\n</listAttribute>\n");
  const ProgramResult result =
      convert({"-wb", "-var", "V=b\n-d \"FORGED2", "-cdb", "out/cc.json"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(readFile(out + s + "person" + s + "App.p_a"),
            crlfLines({"-i \"/kept\"", "-d \"KEPT\""}));
  const std::string warning = "Warning: line break in ";
  const std::string where = ", left out of the analyser personality: ";
  // Relative to nothing, both paths are taken from the project folder (no
  // build spec: no build folder), with the system's separators.
  EXPECT_TRUE(lines(result.out).ends_with(
      "Olvex/Olvex++ Project Completed!\n" + warning + "include path" + where + at("proj") + s +
      "a?-d \"FORGED\n" + warning + "include path" + where + at("proj") + s +
      "b?-d \"FORGED2" + s + "h\n" + warning + "macro" + where + "M=x?y\n"))
      << result.out;
  const std::string database = readFile(out + s + "cc.json");
  const std::string jsonSeparator = s == "/" ? "/" : "\\\\";
  EXPECT_NE(database.find("b\\n-d \\\"FORGED2" + jsonSeparator + "h\""), std::string::npos)
      << database;
  EXPECT_NE(database.find("\"-DM=x\\ry\""), std::string::npos) << database;
}

// --- The run's own outputs ----------------------------------------------------

// A destination inside the project folder, or the workspace folder itself:
// the next run must not list the last one's project file, personality files
// or database as sources.
TEST_F(Conversion, TheRunsOwnOutputsAreNeverItsSources) {
  for (const auto& [dest, options] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"ws/App/olvex", {"-wb", "-cdb", "ws/App/cc.json"}},
           {"ws", {"-cdb", "ws/cc.json"}},
           {"ws/App", {"-wb"}}}) {
    fs::remove_all(at("ws"));
    dir.writeFile("ws/App/.project",
                  "<projectDescription><name>App</name><projects></projects></projectDescription>");
    dir.writeFile("ws/App/.wrproject", subprojects({}));
    dir.writeFile("ws/App/main.c", "");
    dir.writeFile("ws/top.c", "");
    fs::create_directories(at(dest));
    std::vector<std::string> args{"ws/App/.project", "ws/App/.wrproject", "ws", dest};
    args.insert(args.end(), options.begin(), options.end());
    const ProgramResult first = runPlovik(args, dir.str());
    ASSERT_EQ(first.exitCode, 0) << first.out;
    const std::string prj = readFile(at(dest) + s + "App.prj");
    const ProgramResult second = runPlovik(args, dir.str());
    EXPECT_EQ(second.out, first.out) << dest;
    EXPECT_EQ(readFile(at(dest) + s + "App.prj"), prj) << dest;
    for (const auto& line : splitCrlf(prj)) {
      if (line.starts_with("SubsPers=") || line.starts_with("AnalPers=") ||
          line.starts_with("CompPers=")) {
        continue;  // the block names the personality files, as always
      }
      for (const char* own : {"App.prj", "App.p_", "cc.json", "=person", "=olvex"}) {
        EXPECT_EQ(line.find(own), std::string::npos) << dest << ": " << line;
      }
    }
  }
}

// --- Printed names -------------------------------------------------------------

TEST_F(Conversion, C1ControlCharactersInNamesArePrintedAsQuestionMarks) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows names are ANSI code page bytes, where 0x80 to 0x9F are letters";
#endif
  // U+009B, the terminal's CSI, then U+0085 (next line) and U+00A0 (no control).
  dir.writeFile("ws/Lib/csi\xC2\x9B" "2J\xC2\x85\xC2\xA0/x.c", "");
  describe("App", {"Lib"}, subprojects({"Lib"}));
  const ProgramResult result = convert();
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_NE(result.out.find("  Creating Group - csi?2J?\xC2\xA0\n"), std::string::npos)
      << result.out;
  EXPECT_NE(readFile(out + s + "App.prj").find("FolderName=csi\xC2\x9B" "2J\xC2\x85\xC2\xA0\r\n"),
            std::string::npos)
      << "written as it is";
}

}  // namespace
