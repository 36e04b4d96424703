#include "building/compiler_commands.h"

#include <gtest/gtest.h>

namespace {

using Macros = std::map<std::string, std::string>;

// The flags entries of each tool and the debug mode reach the compiler
// through the command's placeholders, variables expanded.
TEST(CompilerCommands, FlagsAndDebugModeReachTheCompiler) {
  WorkbenchFacts facts;
  facts.toolFlags = {{"C-Compiler", "flags", "rtp", "$(CC_ARCH_SPEC) -mrtp -D_C99"},
                     {"C-Compiler", "dbgFlags", "rtp", "-g -DDBG"},
                     {"C-Compiler", "nonDbgFlags", "rtp", "-O2 -DNDEBUG"},
                     {"C++-Compiler", "flags", "rtp", "-DCXX"},
                     {"C-Compiler", "flags", "other", "-DOTHER"}};
  facts.defines = {{"rtp", "-DLISTED="}};
  const std::vector<std::string> includes{"-isystem$(VSB)/h", "-I/h"};
  LookupTable macros;
  macros.set("CC_ARCH_SPEC", "-tPPCFH:vxworks63 -DPPC32_fp60x");
  macros.set("TOOL_PATH", "");
  macros.set("VSB", "/vsb");
  VariableExpander variables({}, macros, nullptr);
  CompilerCommandInputs in{"$(TOOL_PATH)ccppc %DebugModeFlags% %ToolFlags% %Defines% %Includes% -c %InFile%",
                           "", includes, facts, "rtp"};
  CompilerSettings settings = compilerSettingsOf(in, variables);
  EXPECT_EQ(settings.c.program, "ccppc");
  EXPECT_EQ(settings.c.macros,
            (Macros{{"DBG", ""}, {"LISTED=", ""}, {"PPC32_fp60x", ""}, {"_C99", ""}}));
  EXPECT_EQ(settings.c.includes.size(), 2u);
  EXPECT_EQ(settings.c.includes[0].path, "/vsb/h");
  EXPECT_FALSE(settings.cCommandDefinesNone);
  // No C++ command: the lists and its flags alone, no program.
  EXPECT_EQ(settings.cxx.program, "");
  EXPECT_EQ(settings.cxx.macros, (Macros{{"CXX", ""}, {"LISTED=", ""}}));

  in.debugMode = false;
  settings = compilerSettingsOf(in, variables);
  EXPECT_EQ(settings.c.macros.count("NDEBUG"), 1u);
  EXPECT_EQ(settings.c.macros.count("DBG"), 0u);
}

}  // namespace
