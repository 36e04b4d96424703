#include "building/compiler_commands.h"

#include <gtest/gtest.h>

namespace {

// %DebugModeFlags% is the debug flags unless the build is not in debug mode;
// a language without a command is given the lists and its flags alone.
TEST(CompilerCommands, DebugModeChoosesTheFlags) {
  WorkbenchFacts facts;
  facts.toolFlags = {{"C-Compiler", "dbgFlags", "", "-g -DDBG"},
                     {"C-Compiler", "nonDbgFlags", "", "-O2 -DNDEBUG"},
                     {"C++-Compiler", "flags", "", "-DCXX"}};
  facts.defines = {{"", "-DLISTED="}};
  const std::vector<std::string> includes;
  LookupTable macros;
  VariableExpander variables({}, macros, nullptr);
  using Macros = std::map<std::string, std::string>;
  for (const bool debug : {true, false}) {
    const CompilerSettings settings = compilerSettingsOf(
        {"cc %DebugModeFlags% %Defines% -c %InFile%", "", includes, facts, "", debug}, variables);
    EXPECT_EQ(settings.c.macros, (Macros{{debug ? "DBG" : "NDEBUG", ""}, {"LISTED=", ""}}));
    EXPECT_EQ(settings.forCxx().program, "");
    EXPECT_EQ(settings.forCxx().macros, (Macros{{"CXX", ""}, {"LISTED=", ""}}));
  }
}

}  // namespace
