// Plovik -describe through the real program: the stored documents of the
// examples in both modes and of runs that would fail, nothing written, and
// --version.
#include <cstdlib>
#include <filesystem>

#include "conversion_fixture.h"

#ifndef _WIN32
#include <nlohmann/json.hpp>
#endif

namespace fs = std::filesystem;

namespace {

struct Case {
  const char* stored;  // tests/e2e/golden/describe/<stored>.json (make-copies describe)
  std::vector<std::string> args;
};

const std::vector<Case>& cases() {
  static const std::vector<Case> all{
      {"sensor-default", {"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-ext", "c,h"}},
      {"sensor-mode", {"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-ext", "c,h", "-wb"}},
      {"sensor-diab",
       {"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-spec", "PPC32diab", "-target",
        "sensor_app", "-var", "WIND_BASE=/opt/wr"}},
      {"motor",
       {"vx/Motor/.project", "vx/Motor/.wrproject", "vx", "out", "-ext", "cpp,h", "-wb", "-cdb",
        "out/cc.json"}},
      {"unknown-spec", {"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-spec", "ARM"}},
      {"missing-wrproject", {"ws/Sensor/.project", "ws/Sensor/none.wrproject", "ws", "out", "-wb"}},
      {"bad-option", {"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-var", "NOVALUE"}},
  };
  return all;
}

class Describe : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* examples = std::getenv("PLOVIK_EXAMPLES");
    ASSERT_NE(examples, nullptr) << "PLOVIK_EXAMPLES names the examples folder";
    fs::copy(fs::path(examples) / "workbench", dir.path() / "ws", fs::copy_options::recursive);
    fs::copy(fs::path(examples) / "vxworks7", dir.path() / "vx", fs::copy_options::recursive);
  }
  ProgramResult describe(std::vector<std::string> args) {
    args.push_back("-describe");
    return runPlovik(args, dir.str());
  }
  std::string stored(const std::string& name) const {
    const char* golden = std::getenv("PLOVIK_GOLDEN");
    EXPECT_NE(golden, nullptr) << "PLOVIK_GOLDEN names the folder of the stored copies";
    return replaced(readFile(fs::path(golden == nullptr ? "" : golden) / "describe" / (name + ".json")),
                    "@DIR@", dir.str());
  }

  TempDir dir;
};

// The stored copies hold POSIX paths.
TEST_F(Describe, EachRunGivesItsStoredDocumentAndWritesNothing) {
#ifdef _WIN32
  GTEST_SKIP() << "the stored copies hold POSIX paths";
#endif
  for (const Case& c : cases()) {
    const ProgramResult result = describe(c.args);
    EXPECT_EQ(result.out + "exit status " + std::to_string(result.exitCode) + "\n", stored(c.stored))
        << c.stored;
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(fs::exists(dir.path() / "out")) << c.stored << " made the destination";
  }
}

#ifndef _WIN32
// A JSON library reads every document back, with every member in its place
// and of its type, whatever the run.
TEST_F(Describe, EveryDocumentParsesWithTheMembersInTheirOrder) {
  const std::vector<std::string> members{
      "version",  "mode",   "project",      "buildSpecs", "buildTargets", "referencedProjects",
      "variables", "groups", "includePaths", "macros",     "warnings",     "failure"};
  for (const Case& c : cases()) {
    const ProgramResult result = describe(c.args);
    const auto document = nlohmann::ordered_json::parse(result.out);
    std::vector<std::string> names;
    for (const auto& [name, value] : document.items()) names.push_back(name);
    // The real-project mode's document has the compilers and the files'
    // own settings after the macros.
    std::vector<std::string> expected = members;
    if (document["mode"] == "real-project") {
      expected.insert(expected.begin() + 10, {"compilers", "fileSettings"});
      EXPECT_TRUE(document["fileSettings"].is_array()) << c.stored;
      for (const char* language : {"c", "c++"}) {
        EXPECT_TRUE(document["compilers"][language]["commands"].is_number()) << c.stored;
      }
    }
    EXPECT_EQ(names, expected) << c.stored;
    EXPECT_EQ(document["version"], 1);
    EXPECT_EQ(document["failure"].is_null(), result.exitCode == 0) << c.stored;
    EXPECT_TRUE(document["buildSpecs"]["known"].is_array());
    for (const auto& group : document["groups"]) EXPECT_TRUE(group["files"].is_number());
  }
}

// -spec takes what the description offers, in either mode: a spec the file
// does not list but only a defines list or a key names is known alike.
TEST_F(Describe, BothModesAndSpecKnowTheSameBuildSpecs) {
  dir.writeFile("p/.project", "<projectDescription><name>P</name><projects></projects>"
                              "</projectDescription>");
  dir.writeFile("p/.wrproject",
                "<listAttribute key=\"BLD::Info|specs\">\n<stringAttribute value=\"Listed\"/>\n"
                "</listAttribute>\n"
                "<listAttribute key=\"BLD::Info|Definess|DefinesOnly\">\n"
                "<stringAttribute value=\"-DX\"/>\n</listAttribute>\n"
                "<listAttribute key=\"BLD::Info|Incl|Keyed\">\n</listAttribute>\n"
                "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd|CxxOnly\" value=\"c++\"/>\n");
  dir.makeFolder("empty");
  const std::vector<std::string> args{"p/.project", "p/.wrproject", "empty", "out"};
  const std::vector<std::string> expected{"Listed", "Keyed", "CxxOnly", "DefinesOnly"};
  for (const std::vector<std::string>& mode : {std::vector<std::string>{}, {"-wb"}}) {
    std::vector<std::string> asked = args;
    asked.insert(asked.end(), mode.begin(), mode.end());
    const ProgramResult result = describe(asked);
    ASSERT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(nlohmann::json::parse(result.out)["buildSpecs"]["known"], expected) << mode.size();
  }
  for (const std::string& spec : expected) {
    std::vector<std::string> asked = args;
    asked.insert(asked.end(), {"-spec", spec});
    const ProgramResult result = describe(asked);
    EXPECT_EQ(result.exitCode, 0) << result.out;
    EXPECT_EQ(nlohmann::json::parse(result.out)["buildSpecs"]["chosen"], spec);
  }
}

// The files a build target compiles with settings of their own, in the
// tree's order, and whose attributes they are; the member only in the mode.
TEST_F(Describe, FilesWithSettingsOfTheirOwnSayWhoseTheyAre) {
  dir.writeFile("ws/P/.project",
                "<projectDescription><name>P</name><projects></projects></projectDescription>");
  const std::string flags = "<attributes><mapAttribute><stringAttribute "
                            "key=\"BLD::Info|Tool|C-Compiler|flags|S\" value=\"-O2\"/>"
                            "</mapAttribute></attributes>";
  dir.writeFile("ws/P/.wrproject",
                "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"S\"/>\n"
                "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd|S\" value=\"cc -w\"/>\n"
                "<buildtargets>\n<buildtarget name=\"T\" buildtool=\"Linker\">\n<contents>\n"
                "<folder name=\"/P\" recursive=\"true\"/>\n<folder name=\"/P/src\" "
                "recursive=\"true\">" + flags + "</folder>\n<file name=\"/P/src/b.c\">" + flags +
                "</file>\n</contents>\n</buildtarget>\n</buildtargets>\n");
  for (const char* file : {"ws/P/main.c", "ws/P/src/a.c", "ws/P/src/b.c"}) dir.writeFile(file, "");
  const std::vector<std::string> args{"ws/P/.project", "ws/P/.wrproject", "ws", "out"};
  std::vector<std::string> mode = args;
  mode.push_back("-wb");
  const auto document = nlohmann::ordered_json::parse(describe(mode).out);
  const auto expected = nlohmann::ordered_json::parse(
      R"([{"file": "@P@/src/a.c", "target": "T", "from": ["folder"]},
          {"file": "@P@/src/b.c", "target": "T", "from": ["folder", "file"]}])");
  EXPECT_EQ(replaced(document["fileSettings"].dump(), dir.str() + "/ws/P", "@P@"), expected.dump());
  EXPECT_FALSE(nlohmann::json::parse(describe(args).out).contains("fileSettings"));
}
#endif

// Names and paths that are no UTF-8 are left out with a warning, and the
// document stays one a JSON reader takes.
TEST_F(Describe, TextThatIsNotUtf8IsLeftOutWithAWarning) {
#ifdef _WIN32
  GTEST_SKIP() << "on Windows names are ANSI bytes, converted before they are judged";
#endif
  dir.makeFolder("ws/Sensor/bad\xff");
  dir.writeFile("ws/Sensor/bad\xff/x.c", "");
  const ProgramResult result =
      describe({"ws/Sensor/.project", "ws/Sensor/.wrproject", "ws", "out", "-wb"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.out.find("\xff"), std::string::npos);
  EXPECT_NE(result.out.find("\"Warning: not UTF-8, left out of the description: bad?\""),
            std::string::npos)
      << result.out;
}

TEST(Version, IsPrintedAloneElseTheUsage) {
  const ProgramResult version = runPlovik({"--version"}, ".");
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(lines(version.out), "Plovik " PLOVIK_VERSION "\n");
  const ProgramResult usage = runPlovik({"--version", "a"}, ".");
  EXPECT_EQ(usage.exitCode, 0);
  EXPECT_TRUE(lines(usage.out).starts_with("Usage: Plovik <source_proj>")) << usage.out;
}

}  // namespace
