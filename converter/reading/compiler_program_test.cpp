#include "reading/compiler_program.h"

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

}  // namespace
