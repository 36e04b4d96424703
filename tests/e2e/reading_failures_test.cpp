// The converter's command line and its reading failures, through the real
// program.
#include <filesystem>
#include <gtest/gtest.h>

#include "run_program.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace fs = std::filesystem;

namespace {

const std::string kUsage =
    "Usage: Plovik <source_proj> <source_wrproj> <windriver_workspace_dir> <dest_folder> "
    "[-pn dest_proj_name]\n"
    "[-mp message_personality] [-ap analyser_personality] [-cp compiler_personality] "
    "[-ext file_extension]\n";

bool isEmptyFolder(const fs::path& path) { return fs::is_empty(path); }

class ReadingFailures : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("ws");
    dir.makeFolder("out");
    dir.writeFile("ws/.wrproject", "");
  }
  ProgramResult convert(const std::string& project) {
    dir.writeFile("ws/.project", project);
    return runPlovik({"ws/.project", "ws/.wrproject", "ws", "out"}, dir.str());
  }
  std::string absolute(const std::string& relative) {
    // The relative part stays as typed: "/" is no separator on Windows.
    return dir.str() + static_cast<char>(fs::path::preferred_separator) + relative;
  }
  TempDir dir;
};

TEST(CommandLine, TooFewArgumentsPrintTheUsage) {
  TempDir dir;
  for (const auto& args : {std::vector<std::string>{}, {"a", "b", "c"}}) {
    const ProgramResult result = runPlovik(args, dir.str());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(lines(result.out), kUsage);
    EXPECT_EQ(result.err, "");
  }
  EXPECT_TRUE(isEmptyFolder(dir.path()));
}

TEST(CommandLine, OptionWithoutValueFailsSilently) {
  TempDir dir;
  const ProgramResult result = runPlovik({"a", "b", "c", "d", "-pn"}, dir.str());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(isEmptyFolder(dir.path()));
}

TEST_F(ReadingFailures, MissingProjectDescription) {
  const ProgramResult result =
      runPlovik({"ws/none.project", "ws/.wrproject", "ws", "out"}, dir.str());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "Could not open file: " + absolute("ws/none.project") + "\n");
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(isEmptyFolder(dir.path() / "out"));
}

TEST_F(ReadingFailures, MissingBuildDescription) {
  dir.writeFile("ws/.project", "<projectDescription><projects></projects></projectDescription>");
  const ProgramResult result =
      runPlovik({"ws/.project", "ws/none.wrproject", "ws", "out"}, dir.str());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "Could not open file: " + absolute("ws/none.wrproject") + "\n");
  EXPECT_TRUE(isEmptyFolder(dir.path() / "out"));
}

TEST_F(ReadingFailures, EndOfFileInsideTheDescription) {
  const ProgramResult result = convert("<projectDescription><name>App</name><projects>");
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "WR Project file parsing encountered unexpected EOF\n");
  EXPECT_TRUE(isEmptyFolder(dir.path() / "out"));
}

TEST_F(ReadingFailures, UnexpectedTokenIsNamed) {
  for (const auto& [project, token] : std::vector<std::pair<std::string, std::string>>{
           {"<projectDescription><projects/></projectDescription>", "projects/"},
           {"<projectDescription><comment /><projects></projects></projectDescription>",
            "comment /"},
           {"<project></project>", "project"},
       }) {
    const ProgramResult result = convert(project);
    EXPECT_EQ(result.exitCode, 1) << project;
    EXPECT_EQ(lines(result.out),
              "WR Project file parsing encountered unexpected token: " + token + "\n");
    EXPECT_TRUE(isEmptyFolder(dir.path() / "out"));
  }
}

}  // namespace
