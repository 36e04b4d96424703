// The compilation database as the tools that read it see it: parsed by a
// JSON parser, and read by cppcheck and clang-tidy, which must find every
// file, the headers through the include paths, the macros and a planted
// defect. POSIX only: the tools are Debian's.
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <sys/wait.h>

#include "conversion_fixture.h"

namespace {

struct ToolResult {
  int exitCode = -1;
  std::string out;  // standard output and error together
};

// Runs a shell command line in `folder`.
ToolResult runTool(const std::string& folder, const std::string& command) {
  ToolResult result;
  FILE* pipe = popen(("cd '" + folder + "' && " + command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 4096> buffer;
  for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    result.out.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// A project "Demo" of one sub-project App: a file that needs a header from
// App/inc, a null dereference on line 4 of defect.c, and one on line 5 of
// gated.c that only a PLANT_DEFECT macro compiles.
class Tools : public Conversion {
 public:
  void SetUp() override {
    Conversion::SetUp();
    dir.writeFile("ws/App/inc/config.h", "#define LIMIT 4\n");
    dir.writeFile("ws/App/main.c", "#include \"config.h\"\nint main(void) { return LIMIT; }\n");
    dir.writeFile("ws/App/defect.c", "int crash(void)\n{\n    int *p = 0;\n    return *p;\n}\n");
    dir.writeFile("ws/App/gated.c",
                  "int gated(void)\n{\n#ifdef PLANT_DEFECT\n    int *q = 0;\n    return *q;\n"
                  "#else\n    return 0;\n#endif\n}\n");
  }
  ProgramResult convertDemo(const std::string& command, const std::string& extraInclude = "") {
    std::vector<std::string> paths{ws + "/App/inc"};
    if (!extraInclude.empty()) paths.push_back(extraInclude);
    describe("Demo", {"App"}, subprojects({"App"}) + includes(paths) + compilerCommand(command));
    return convert({"-cdb", db});
  }
  nlohmann::json database() const { return nlohmann::json::parse(readFile(db)); }
  std::string tidy(const std::string& file) const {
    const ToolResult result = runTool(
        dir.str(), "clang-tidy -p out --checks='-*,clang-analyzer-core.NullDereference' '" +
                       ws + "/App/" + file + "'");
    EXPECT_EQ(result.exitCode, 0) << result.out;
    return result.out;
  }

  const std::string db = at("out/compile_commands.json");
};

TEST_F(Tools, EveryAwkwardNameComesBackFromTheParserAsItWasAndTheBadOneIsLeftOut) {
  const std::vector<std::string> names{"with space.c", "quote\"d.c", "back\\slash.cpp",
                                       "Pr\xc3\xbc" "fung.c", "tab\tin.c", "line\x01.c"};
  for (const auto& name : names) dir.writeFile("ws/App/" + name, "");
  dir.writeFile("ws/App/bad\xff.c", "");
  const ProgramResult result = convertDemo("cc -DMSG=\"a\\b c\" -DPLAIN -c");
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_NE(result.out.find("Warning: not UTF-8, left out of the compilation database: " + ws +
                            "/App/bad\xff.c\n"),
            std::string::npos)
      << result.out;

  const nlohmann::json entries = database();
  ASSERT_TRUE(entries.is_array());
  std::set<std::string> files;
  for (const auto& entry : entries) {
    EXPECT_EQ(entry.size(), 3u);
    EXPECT_EQ(entry.at("directory"), ws);
    const std::string file = entry.at("file");
    files.insert(file.substr(ws.size() + 5));
    const auto& arguments = entry.at("arguments");
    const bool cxx = file.ends_with(".cpp");
    EXPECT_EQ(arguments, nlohmann::json::array({cxx ? "c++" : "cc", "-I" + ws + "/App/inc",
                                                "-DMSG=\"a\\b", "-DPLAIN", "-c", file}));
  }
  std::set<std::string> expected(names.begin(), names.end());
  expected.insert({"main.c", "defect.c", "gated.c"});
  EXPECT_EQ(files, expected);
}

TEST_F(Tools, CppcheckAnalysesEveryListedFileAndReportsThePlantedDefect) {
  ASSERT_EQ(convertDemo("cc -DPLANT_DEFECT -c").exitCode, 0);
  // Run from elsewhere: below its working folder cppcheck names files relatively.
  const ToolResult result =
      runTool("/", "cppcheck '--project=" + db + "' --template='{file}:{line}:{id}'");
  EXPECT_EQ(result.exitCode, 0) << result.out;
  for (const char* file : {"main.c", "defect.c", "gated.c"}) {
    EXPECT_NE(result.out.find("Checking " + ws + "/App/" + file), std::string::npos) << result.out;
  }
  EXPECT_NE(result.out.find("3/3 files checked"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find(ws + "/App/defect.c:4:nullPointer"), std::string::npos) << result.out;
}

TEST_F(Tools, ClangTidyFindsTheHeaderAndOnlyTheDefectTheMacroCompiles) {
  ASSERT_EQ(convertDemo("cc -DPLANT_DEFECT -c").exitCode, 0);
  EXPECT_EQ(tidy("main.c").find("error"), std::string::npos);
  EXPECT_NE(tidy("gated.c").find(ws + "/App/gated.c:5:12: warning: Dereference of null pointer"),
            std::string::npos);
  ASSERT_EQ(convertDemo("cc -c").exitCode, 0);
  EXPECT_EQ(tidy("gated.c").find("warning: Dereference"), std::string::npos);
}

}  // namespace
