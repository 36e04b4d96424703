// The compilation database (-cdb FILE) through the real program: its exact
// text for the small example, and a FILE that cannot be written.
#include "conversion_fixture.h"

namespace {

// A path as a JSON string: the test's paths hold no quote or control
// character, only backslashes on Windows.
std::string json(const std::string& text) {
  std::string quoted = "\"";
  quoted.append(replaced(text, "\\", "\\\\")).append("\"");
  return quoted;
}

TEST_F(Conversion, TheDatabaseListsEachSourceFileWithTheProjectsSettings) {
  describeExample();
  dir.writeFile("ws/board.h", "");
  const ProgramResult result = convert({"-cdb", "out" + s + "compile_commands.json"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(lines(result.out),
            "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
            "  Creating Analyser Personality - " + pers + ".p_a\n  Creating Group - Lib\n"
            "Olvex/Olvex++ Project Completed!\n");
  std::string expected = "[";
  const std::vector<std::string> files{ws + s + "io.c", ws + s + "main.c",
                                      ws + s + "Lib" + s + "lib.c"};
  for (const std::string& file : files) {
    expected += std::string(expected.size() == 1 ? "\n" : ",\n") + "  {\n    \"directory\": " +
                json(ws) + ",\n    \"file\": " + json(file) + ",\n    \"arguments\": [\"cc\", " +
                json("-I" + ws + s + "inc") + ", \"-c\", " + json(file) + "]\n  }";
  }
  EXPECT_EQ(readFile(out + s + "compile_commands.json"), expected + "\n]\n");
}

TEST_F(Conversion, ADatabaseThatCannotBeWrittenEndsTheRunAndKeepsTheEarlierResult) {
  describeExample();
  ASSERT_EQ(convert({"-cdb", "out" + s + "db.json"}).exitCode, 0);
  const auto earlier = filesBelow(out);
  const std::string missing = at("missing") + s + "db.json";
  for (const auto& [options, message] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"-cdb", "missing" + s + "db.json"}, "Could not write file: " + missing},
           {{"-cdb", "out"}, "Could not write file: " + out},
           {{"-cdb"}, "Missing value for -cdb"},
           {{"-cdb", ""}, "Missing value for -cdb"}}) {
    const ProgramResult result = convert(options);
    EXPECT_EQ(result.exitCode, 1) << message;
    EXPECT_EQ(lines(result.out), message + "\n");
    EXPECT_EQ(filesBelow(out), earlier) << message;
  }
}

}  // namespace
