#include "building/compiler_invocation.h"

#include <gtest/gtest.h>

#include "building/compiler_defines.h"

namespace {

using Strings = std::vector<std::string>;
using Macros = std::map<std::string, std::string>;

TEST(CompilerInvocation, TheRecipeAsTheMakefileHasIt) {
  const ToolRecipe rtp{
      "echo \"building $@\";%ccompilerprefix% $(TOOL_PATH)ccpentium %DebugModeFlags% "
      "%ToolFlags% %Defines% %Includes% -o %OutFile% -c %InFile%",
      "$(CC_ARCH_SPEC) -mrtp -D_C99", "-g", "-DA", "-I/h"};
  EXPECT_EQ(recipeText(rtp), "echo \"building $@\"; $(TOOL_PATH)ccpentium -g $(CC_ARCH_SPEC) "
                             "-mrtp -D_C99 -DA -I/h -o \"$@\" -c \"$<\"");
  // The lists a command does not name are put aside for the command that
  // compiles; no command, the flags alone.
  EXPECT_EQ(recipeText({"cc -c %InFile%", "", "", "-DA", "-I/h"}), "cc -c \"$<\"");
  EXPECT_EQ(listsNotNamed({"cc -c %InFile%", "", "", "-DA", "-I/h"}), "-DA -I/h");
  EXPECT_EQ(listsNotNamed({"cc %Includes%", "", "", "-DA", "-I/h"}), "-DA");
  EXPECT_EQ(recipeText({"", "-O", "-g", "-DA", "-I/h"}), "'' -g -O");
  // The values are put in as they stand: placeholders in them stay, and a
  // list is not put into another.
  EXPECT_EQ(recipeText({"cc %DebugModeFlags% %ToolFlags% %Defines% %Includes% -c %InFile%",
                        "-O%Defines%", "-g %ToolFlags%", "-DX=%InFile% -DY=%Includes%", "-I%Defines%"}),
            "cc -g %ToolFlags% -O%Defines% -DX=%InFile% -DY=%Includes% -I%Defines% -c \"$<\"");
  // A command that names a list thousands of times is held to its bound:
  // the places past it keep their placeholders.
  std::string many = "cc";
  for (int i = 0; i < 1000; ++i) many += " %Includes%";
  const ToolRecipe hostile{many + " -c %InFile% %Defines%", "", "", "-DA", std::string(8000, 'i')};
  bool cut = false;
  const std::string held = recipeText(hostile, &cut);
  EXPECT_TRUE(cut);
  EXPECT_LE(held.size(), recipeBound(hostile) + hostile.command.size());
  EXPECT_TRUE(held.starts_with("cc " + std::string(8000, 'i') + " ")) << "the first place is filled";
  EXPECT_TRUE(held.ends_with(" %Includes% -c \"$<\" -DA")) << held.substr(held.size() - 40);
  cut = false;
  recipeText(rtp, &cut);
  EXPECT_FALSE(cut);
  EXPECT_EQ(parenthesised("${A}/x ${B ${} $(C) ${D$(E)}"), "$(A)/x ${B ${} $(C) ${D$(E)}");
}

// What the compiler takes from the words: the program, -D and -U in order,
// include folders with their kinds.
TEST(CompilerInvocation, TheWordsAsTheCompilerReadsThem) {
  using K = IncludeKind;
  struct Case {
    const char* recipe;
    const char* program;
    Macros macros;
    std::vector<std::pair<K, std::string>> includes;
  } cases[] = {
      {"echo \"building $@\"; ccppc -DA -DB=2 -D C=3 -DA=again -D=nameless -c \"$<\"",
       "ccppc",
       {{"A", "again"}, {"B", "2"}, {"C", "3"}},
       {}},
      // -DX= is defined empty, -DX as 1; each replaces the other; -U removes both.
      {"cc -DE= -DF -DF= -DG= -DG -DH -UH -DI= -U I -DJ -UJ -DJ=1", "cc",
       {{"E=", ""}, {"F=", ""}, {"G", ""}, {"J", "1"}}, {}},
      {"cc -I/a -isystem/s -iquote /q -idirafter/d -I /b -I- -isystem", "cc", {},
       {{K::Plain, "/a"}, {K::System, "/s"}, {K::Quote, "/q"}, {K::After, "/d"}, {K::Plain, "/b"}}},
      // Settings before the program, and variables nobody defined, are no words.
      {"CCACHE=1 $(TOOL_PATH)dcc $(ADDED_CFLAGS) -D$(CPU) -I$(WIND_BASE)/h", "dcc",
       {{"$(CPU)", ""}}, {{K::Plain, "$(WIND_BASE)/h"}}},
      {"'' -DONLY", "", {{"ONLY", ""}}, {}},
      {"$(CC) -c \"$<\"", "", {}, {}},
      {"", "", {}, {}},
  };
  for (const Case& one : cases) {
    const CompilerInvocation invocation = invocationOf(one.recipe);
    EXPECT_EQ(invocation.program, one.program) << one.recipe;
    EXPECT_EQ(invocation.macros, one.macros) << one.recipe;
    std::vector<std::pair<K, std::string>> includes;
    for (const auto& include : invocation.includes) includes.emplace_back(include.kind, include.path);
    EXPECT_EQ(includes, one.includes) << one.recipe;
  }
  EXPECT_EQ(invocationOf("CCACHE=1 $(TOOL_PATH)dcc $(ADDED_CFLAGS) -o \"$@\" -c \"$<\"").words,
            (Strings{"$(TOOL_PATH)dcc", "-o", "$@", "-c", "$<"}));
}

TEST(CompilerInvocation, OnlyWordsOfNothingButReferencesAreDropped) {
  const struct {
    const char* recipe;
    Strings words;
  } cases[] = {
      {"cc $(A) $(A)$(B) \"$(C)\" -o x.o -c $<", {"cc", "-o", "x.o", "-c", "$<"}},
      {"cc x$(A) $(A)x $(A)-$(B) -I$(A) -o \"$@\" -c $<",
       {"cc", "x$(A)", "$(A)x", "$(A)-$(B)", "-I$(A)", "-o", "$@", "-c", "$<"}},
      {"cc $ $x '' $( -o \"$@\" -c $<", {"cc", "$", "$x", "", "$(", "-o", "$@", "-c", "$<"}},
      {"$(A) cc $(B) -c $<", {"$(A)", "cc", "-c", "$<", "-o", "$@"}},  // the program may be a reference
  };
  for (const auto& one : cases) EXPECT_EQ(invocationOf(one.recipe).words, one.words) << one.recipe;
}

}  // namespace

namespace {

// One -D argument read once, for both modes: the default mode defines "-DX="
// as X, as it always has; the real-project mode keeps it apart as "X=".
TEST(CompilerDefinitions, OneReadingOfADefinitionTwoMeaningsOfAnEmptyValue) {
  struct Case {
    const char* argument;
    Macros defaultMode;
    Macros realProjectMode;
  } cases[] = {
      {"X", {{"X", ""}}, {{"X", ""}}},
      {"X=", {{"X", ""}}, {{"X=", ""}}},
      {"X=1", {{"X", "1"}}, {{"X", "1"}}},
      {"X=a=b", {{"X", "a=b"}}, {{"X", "a=b"}}},
      {"=1", {}, {}},
  };
  for (const Case& one : cases) {
    Macros defaultMode;
    defineFromCompilerCommand(std::string("cc -D") + one.argument + " -c x.c", LookupTable(),
                              defaultMode);
    EXPECT_EQ(defaultMode, one.defaultMode) << one.argument;
    EXPECT_EQ(invocationOf(std::string("cc -D") + one.argument + " -c x.c").macros,
              one.realProjectMode)
        << one.argument;
  }
}

}  // namespace
