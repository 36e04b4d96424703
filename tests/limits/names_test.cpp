// Paths and names with spaces, double quotes, bytes that are no ASCII (and no
// UTF-8) and lengths past the 4,096 bytes the system takes in one path: the
// converter writes them byte for byte or refuses them with its own messages,
// and never cuts them short.
#include <filesystem>
#include <gtest/gtest.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

bool holdsLine(const std::string& file, const std::string& line) {
  return file.find("\r\n" + line + "\r\n") != std::string::npos;
}

class Names : public ::testing::Test {
 protected:
  void describe(const std::string& name, const std::vector<std::string>& projects,
                const std::string& settings) {
    std::string project = "<projectDescription><name>" + name + "</name><projects>";
    for (const auto& referenced : projects) project += "<project>" + referenced + "</project>";
    dir.writeFile("proj/.project", project + "</projects></projectDescription>");
    dir.writeFile("proj/.wrproject", settings);
  }
  LimitedResult convert(const std::vector<std::string>& args) { return runLimited(args, dir.str()); }

  TempDir dir;
  const std::string cwd = dir.str();
};

TEST_F(Names, SpacesQuotesAndOtherBytesAreWrittenAsTheyAre) {
  const std::string name = "My \"Quoted\" Pr\xC3\xB6ject \xFF";
  const std::string sub = "Sub \"Q\" \xE9t\xC3\xA9";
  const std::string file = "a b \"c\" \xFE.c";
  const std::string dest = "out \"d\" \xC3\xA9";
  const std::string include = "/inc \"q\" \xC3\xBC";
  dir.makeFolder(dest);
  dir.writeFile("w s/" + file, "");
  dir.writeFile("w s/" + sub + "/" + file, "");
  describe(name, {sub},
           "<subprojects>\n<subproject project=\"/" + sub + "\"/>\n</subprojects>\n"
           "<listAttribute key=\"BLD::Info|Incl|gnu\">\n<stringAttribute value=\"-I" + include +
               "\"/>\n</listAttribute>\n");
  const std::string ws = dir.str("w s");
  const LimitedResult result = convert({"proj/.project", "proj/.wrproject", ws, dest});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("\n  Creating Group - " + name + "\n  Creating Analyser Personality - " +
                            cwd + "/" + dest + "/person/" + name + ".p_a\n  Creating Group - " +
                            sub + "\n"),
            std::string::npos)
      << result.out;

  const std::string project = readFile(dir.path() / dest / (name + ".prj"));
  EXPECT_TRUE(holdsLine(project, "FolderName=" + name));
  EXPECT_TRUE(holdsLine(project, "SourcePath=" + ws + "/" + name + "/"));
  EXPECT_TRUE(holdsLine(project, "OutputPath=" + cwd + "/" + dest + "/" + name + "/output/"));
  EXPECT_TRUE(holdsLine(project, "SubsPers=" + cwd + "/" + dest + "/person/" + name + ".p_s"));
  EXPECT_TRUE(holdsLine(project, ws + "/" + file));
  EXPECT_TRUE(holdsLine(project, "FolderName=" + sub));
  EXPECT_TRUE(holdsLine(project, ws + "/" + sub + "/" + file));
  EXPECT_TRUE(fs::is_directory(dir.path() / dest / name / sub / "output"));
  EXPECT_EQ(readFile(dir.path() / dest / "person" / (name + ".p_a")),
            "-i \"" + include + "\"\r\n");
}

// Personality paths longer than any the system opens: the converter opens
// neither of them and writes both whole.
TEST_F(Names, PathsPastTheSystemLimitAreWrittenWhole) {
  dir.makeFolder("out");
  dir.writeFile("ws/Lib/lib.c", "");
  describe("App", {"Lib"}, "<subprojects>\n<subproject project=\"/Lib\"/>\n</subprojects>\n");
  const std::string ws = "ws";
  const std::string message = repeat("./", 2500) + "message.p_s";
  const std::string compiler = repeat("./", 2500) + "compiler.p_c";
  const LimitedResult result = convert({"proj/.project", "proj/.wrproject", ws, "out", "-mp",
                                        message, "-cp", compiler});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  const std::string project = readFile(dir.path() / "out" / "App.prj");
  EXPECT_TRUE(holdsLine(project, "SourcePath=" + ws + "/App/"));
  EXPECT_TRUE(holdsLine(project, "SourcePath=" + ws + "/App/Lib/"));
  EXPECT_TRUE(holdsLine(project, "SubsPers=" + cwd + "/" + message));
  EXPECT_TRUE(holdsLine(project, "CompPers=" + cwd + "/" + compiler));
  EXPECT_TRUE(holdsLine(project, "ws/Lib/lib.c"));
}

TEST_F(Names, PathsPastTheSystemLimitAreRefusedWhole) {
  dir.makeFolder("out");
  dir.makeFolder("ws");
  describe("App", {}, "");
  const std::string project = repeat("./", 2100) + "proj/.project";
  LimitedResult result = convert({project, "proj/.wrproject", "ws", "out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Could not open file: " + cwd + "/" + project + "\n");

  // A workspace that cannot be listed would give a project without files.
  const std::string ws = repeat("./", 2100) + "ws";
  result = convert({"proj/.project", "proj/.wrproject", ws, "out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Could not open folder: " + ws + "\n");

  const std::string dest = repeat("./", 2100) + "out";
  result = convert({"proj/.project", "proj/.wrproject", "ws", dest});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Could not write file: " + cwd + "/" + dest + "/App.prj\n");

  const std::string name(5000, 'n');
  describe(name, {}, "");
  result = convert({"proj/.project", "proj/.wrproject", "ws", "out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Could not write file: " + cwd + "/out/" + name + ".prj\n");
  EXPECT_TRUE(fs::is_empty(dir.path() / "out"));
}

// A zero byte ends a name for the system: "A\0B" would become the file "A".
// The message shows it as "?", like every control character it prints.
TEST_F(Names, NamesHoldingAZeroByteAreRefused) {
  dir.makeFolder("out");
  dir.writeFile("ws/main.c", "");
  const std::string zero("\0", 1);
  describe("A" + zero + "B", {}, "");
  LimitedResult result = convert({"proj/.project", "proj/.wrproject", "ws", "out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Invalid project name: A?B\n");
  EXPECT_TRUE(fs::is_empty(dir.path() / "out"));

  describe("App", {"L" + zero + "x"},
           "<subprojects>\n<subproject project=\"/L" + zero + "x\"/>\n</subprojects>\n");
  result = convert({"proj/.project", "proj/.wrproject", "ws", "out"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Invalid project name: L?x\n");
  EXPECT_TRUE(fs::is_empty(dir.path() / "out"));
}

}  // namespace
