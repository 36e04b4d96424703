#include "building/compiler_program.h"

#include <gtest/gtest.h>

namespace {

// Settings and placeholders in front of the program are passed over.
TEST(CompilerProgram, IsTheFirstWordThatIsNoSettingNorPlaceholder) {
  using Words = std::vector<std::string>;
  const std::pair<Words, std::size_t> cases[] = {
      {{"ccppc", "-c"}, 0},
      {{"%ccompilerprefix%", "CCACHE_DIR=/tmp", "my cc", "-c"}, 2},
      {{"A=1", "%x%"}, 2},
      {{"=x", "cc"}, 0},   // no name before "=": a word like any other
      {{"1A=x", "cc"}, 0},  // nor a name that begins with a digit
      {{}, 0},
  };
  for (const auto& [words, at] : cases) EXPECT_EQ(programWordOf(words), at) << testing::PrintToString(words);
}

// A variable left without a value gives the program's file name, never a
// path cut short, and none where the name itself depends on one.
TEST(CompilerProgram, AVariableLeftGivesTheFileNameOrNone) {
  const std::pair<const char*, const char*> cases[] = {
      {"/opt/gnu/bin/gcc", "/opt/gnu/bin/gcc"},
      {"$(OTHER)/dplus", "dplus"},
      {"$(WIND_HOME)/compilers/diab-5.9.1.0/WIN32/bin/dcc", "dcc"},
      {"$(WIND_HOME)\\diab\\dcc.exe", "dcc.exe"},
      {"$(OTHER)ccppc", "ccppc"},
      {"$(OTHER)/$(CC)", ""},
      {"$(CC)", ""},
      {"$(TOOL_PATH)cc$(SUFFIX)", ""},
  };
  for (const auto& [word, program] : cases) EXPECT_EQ(programNamed(word), program) << word;
}

}  // namespace
