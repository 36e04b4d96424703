#include "building/compiler_program.h"

#include <gtest/gtest.h>

namespace {

TEST(CompilerProgram, IsTheProgramOfTheCommandThatCompiles) {
  const std::pair<const char*, const char*> cases[] = {
      {"echo \"building $@\";%ccompilerprefix% $(TOOL_PATH)ccppc %DebugModeFlags% "
       "$(CC_ARCH_SPEC) -ansi %Defines% -o %OutFile% -c %InFile%",
       "ccppc"},
      {"echo \"a; b && c\" && $(TOOL_PATH)$(PREFIX)dcc -c %InFile%; echo done", "dcc"},
      {"/opt/gnu/bin/gcc -c x.c", "/opt/gnu/bin/gcc"},
      {"CCACHE_DIR=/tmp \"my cc\" -c %InFile%", "my cc"},
      {"gcc -c a.c || true", "true"},
      {"$(CC) -c %InFile%", ""},
      {"$(TOOL_PATH)cc$(SUFFIX) -c %InFile%", ""},
      {"%cprefix% %InFile%", ""},
      {"", ""},
      {";;", ""},
  };
  for (const auto& [command, program] : cases) EXPECT_EQ(compilerProgram(command), program) << command;
}

// A variable with a value gives the program's whole path; one without leaves
// the program's file name, never a path cut short.
TEST(CompilerProgram, VariablesExpandedOrTheFileNameKept) {
  const WordExpander expand = [](std::string_view word) {
    std::string text(word);
    const std::string known = "$(TOOL_PATH)";
    for (auto at = text.find(known); at != std::string::npos; at = text.find(known)) {
      text.replace(at, known.size(), "/opt/diab/bin/");
    }
    return text;
  };
  const std::pair<const char*, const char*> cases[] = {
      {"$(TOOL_PATH)dcc -c %InFile%", "/opt/diab/bin/dcc"},
      {"$(OTHER)/dplus -c %InFile%", "dplus"},
      {"$(WIND_HOME)/compilers/diab-5.9.1.0/WIN32/bin/dcc -c %InFile%", "dcc"},
      {"$(WIND_HOME)\\\\diab\\\\dcc.exe -c %InFile%", "dcc.exe"},
      {"$(OTHER)ccppc -c %InFile%", "ccppc"},
      {"$(OTHER)/$(CC) -c %InFile%", ""},
  };
  for (const auto& [command, program] : cases) {
    EXPECT_EQ(compilerProgram(command, expand), program) << command;
  }
}

}  // namespace
