// Inputs at the edges, through the real program: names that are ordinary
// although they look special, names that cannot be written as one line,
// missing workspaces, byte order marks and personality files of earlier runs.
#include <filesystem>

#include "conversion_fixture.h"

namespace fs = std::filesystem;

namespace {

// The lines of the project file that give a group's name or folder.
std::vector<std::string> outline(const std::string& prj) {
  std::vector<std::string> kept;
  for (const auto& line : splitCrlf(prj)) {
    if (line.starts_with("FolderName=") || line.starts_with("OutputPath=")) kept.push_back(line);
  }
  return kept;
}

TEST_F(Conversion, ASubProjectOrFolderNamedRootIsAnOrdinaryGroup) {
  dir.writeFile("ws/root/r.c", "");
  dir.writeFile("ws/root/sub/s.c", "");
  dir.writeFile("ws/Lib/root/l.c", "");
  describe("App", {"root", "Lib"}, subprojects({"root", "Lib"}));
  const ProgramResult result = convert();
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string app = out + s + "App" + s;
  EXPECT_EQ(outline(readFile(out + s + "App.prj")),
            (std::vector<std::string>{
                "FolderName=App", "OutputPath=" + app + "output" + s,
                "FolderName=root", "OutputPath=" + app + "root" + s + "output" + s,
                "FolderName=sub", "OutputPath=" + app + "root" + s + "sub" + s + "output" + s,
                "FolderName=Lib", "OutputPath=" + app + "Lib" + s + "output" + s,
                "FolderName=root", "OutputPath=" + app + "Lib" + s + "root" + s + "output" + s}));
  EXPECT_TRUE(fs::is_directory(app + "root" + s + "sub" + s + "output"));
}

TEST_F(Conversion, FilesWithLineBreaksAreLeftOutAndControlCharactersNeverPrinted) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names cannot hold control characters";
#endif
  // A folder whose name would forge a marker line, and a file with a break.
  dir.writeFile("ws/Lib/dir\nStartProjectMarker/x.c", "");
  dir.writeFile("ws/Lib/bad\r.c", "");
  dir.writeFile("ws/Lib/esc\x1b[2J/e.c", "");
  dir.writeFile("ws/Lib/good.c", "");
  describe("App", {"Lib"}, subprojects({"Lib"}));
  const ProgramResult result = convert();
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string prj = readFile(out + s + "App.prj");
  EXPECT_EQ(prj.find("bad"), std::string::npos);
  EXPECT_EQ(prj.find("x.c"), std::string::npos);
  EXPECT_NE(prj.find("\r\n" + ws + s + "Lib" + s + "good.c\r\n"), std::string::npos);
  // Other control characters are part of a name and written as they are.
  EXPECT_NE(prj.find("\r\nFolderName=esc\x1b[2J\r\n"), std::string::npos);
  EXPECT_NE(result.out.find("  Creating Group - esc?[2J\n"), std::string::npos) << result.out;
  EXPECT_EQ(result.out.find('\x1b'), std::string::npos);
}

TEST_F(Conversion, AProjectNameHoldingAControlCharacterIsRefused) {
  // U+009B, the terminal's CSI, as UTF-8; on Windows the bytes of an ANSI
  // code page, where C2 and 9B are letters.
  const std::string c1 = "A\xc2\x9b" "B";
  for (const std::string& name :
       std::vector<std::string>{"A\nStartProjectMarker", "A\rB", "A\x1b" "B", "A\tB", "A\x7f" "B", c1}) {
    describe(name, {}, "");
    const ProgramResult refused = convert({}, "fresh");
#ifdef _WIN32
    if (name == c1) {
      // Not refused for its name (the destination "fresh" does not exist).
      EXPECT_FALSE(refused.out.starts_with("Invalid project name")) << refused.out;
      continue;
    }
#endif
    EXPECT_EQ(refused.exitCode, 1);
    std::string shown = name == c1 ? "A?B" : name;
    for (char& c : shown) c = static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c;
    EXPECT_EQ(lines(refused.out), "Invalid project name: " + shown + "\n");
  }
}

TEST_F(Conversion, AMissingWorkspaceEndsTheRunAndKeepsAnEarlierResult) {
  describeExample();
  ASSERT_EQ(convert().exitCode, 0);
  const auto earlier = filesBelow(out);
  dir.writeFile("file", "");
  for (const std::string workspace : {"missing", "file"}) {
    const ProgramResult result =
        runPlovik({"proj/.project", "proj/.wrproject", workspace, "out"}, dir.str());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lines(result.out), "Could not open folder: " + workspace + "\n");
    EXPECT_EQ(filesBelow(out), earlier);
  }
  // A broken project description is still what is reported first.
  dir.writeFile("proj/.project", "<projectDescription><projects>");
  const ProgramResult result =
      runPlovik({"proj/.project", "proj/.wrproject", "missing", "out"}, dir.str());
  EXPECT_EQ(lines(result.out), "WR Project file parsing encountered unexpected EOF\n");
}

TEST_F(Conversion, ByteOrderMarksAnEmptyCommentTagAndAnEmptyName) {
  dir.writeFile("ws/Lib/lib.c", "");
  dir.writeFile("proj/.project",
                "\xEF\xBB\xBF<?xml version=\"1.0\"?><projectDescription><name></name><comment/>"
                "<projects><project>Lib</project></projects></projectDescription>");
  dir.writeFile("proj/.wrproject", "\xEF\xBB\xBF" + subprojects({"Lib"}));
  const ProgramResult result = convert({"-pn", "Given"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_TRUE(fs::exists(out + s + "Given.prj"));
  EXPECT_NE(readFile(out + s + "Given.prj").find("FolderName=Lib"), std::string::npos);
}

// The project names the analyser personality in every block, so the run
// writes it: with the -ap file's content when there are no include paths or
// macros, and never leaves an earlier run's file in its place.
TEST_F(Conversion, TheNamedAnalyserPersonalityIsAlwaysThisRunsOwn) {
  describe("App", {}, includes({"inc"}));
  ASSERT_EQ(convert().exitCode, 0);
  ASSERT_EQ(readFile(pers + ".p_a"), "-i \"inc\"\r\n");

  describe("App", {}, "");
  dir.writeFile("given.p_a", "-x\n");
  ProgramResult result = convert({"-ap", "given.p_a"});
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(lines(result.out), "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
                               "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(readFile(pers + ".p_a"), "-x\r\n");

  result = convert({"-ap", "missing.p_a"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(lines(result.out), "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
                               "Couldnt open file\nOlvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(readFile(pers + ".p_a"), "");
}

}  // namespace
