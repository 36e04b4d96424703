#include "reading/variables.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(Variables, GivenThenBuildMacroThenEnvironment) {
  LookupTable macros;
  macros.set("CPU", "PPC32");
  macros.set("BASE", "/from/macro");
  int looked = 0;
  VariableExpander expander({{"BASE", "/given"}, {"BASE", "/given/later"}, {"EMPTY", ""}}, macros,
                            [&](const std::string& name) -> std::optional<std::string> {
                              ++looked;
                              if (name == "HOME") return "/home/me";
                              return std::nullopt;
                            });
  EXPECT_EQ(expander.expand("$(BASE)/$(CPU)/$(HOME)/$(EMPTY)x/$(NONE)/$()/$(open"),
            "/given/later/PPC32//home/me/x/$(NONE)/$()/$(open");
  expander.expand("$(HOME)$(HOME)");
  EXPECT_EQ(looked, 2) << "each name is looked up once (HOME and NONE)";
}

TEST(Variables, ValuesAreNotExpandedAgain) {
  LookupTable macros;
  VariableExpander expander({{"A", "$(A)"}, {"B", "$(C)"}, {"C", "c"}}, macros, nullptr);
  EXPECT_EQ(expander.expand("$(A) $(B)"), "$(A) $(C)");
}

TEST(Variables, UnresolvedOnesAreCountedOncePerTextAndUse) {
  LookupTable macros;
  VariableExpander expander({}, macros, nullptr);
  expander.countUnresolved("$(W)/a $(W)/b $(V)", VariableExpander::IncludePath);
  expander.countUnresolved("$(W)", VariableExpander::IncludePath);
  expander.countUnresolved("$(W)", VariableExpander::MacroValue);
  ASSERT_EQ(expander.unresolved().size(), 2u);
  EXPECT_EQ(expander.unresolved()[0].name, "W");
  EXPECT_EQ(expander.unresolved()[0].count[VariableExpander::IncludePath], 2u);
  EXPECT_EQ(expander.unresolved()[0].count[VariableExpander::MacroValue], 1u);
  EXPECT_EQ(expander.unresolved()[1].name, "V");
}

TEST(ShellWords, QuotesGroupAndBackslashesKeep) {
  EXPECT_EQ(shellWords("  -DA=1\t-DB=\"x y\" -DC='a \"b\"' -DD=\\\"q\\\" \"\" "),
            (Words{"-DA=1", "-DB=x y", "-DC=a \"b\"", "-DD=\"q\"", ""}));
  EXPECT_EQ(shellWords("-DS=\"say \\\"hi\\\"\""), (Words{"-DS=say \"hi\""}));
  EXPECT_EQ(shellWords("\"unclosed a b"), (Words{"unclosed a b"}));
  EXPECT_TRUE(shellWords(" \t ").empty());
}

TEST(ShellWords, DefinitionsAmongTheWords) {
  std::map<std::string, std::string> macros{{"OLD", "1"}};
  defineFromWords({"-DA", "-DB=2", "-D", "C=3", "-I/x", "-D=nameless", "-DA=again", "-D"}, macros);
  EXPECT_EQ(macros, (std::map<std::string, std::string>{
                        {"A", "again"}, {"B", "2"}, {"C", "3"}, {"OLD", "1"}}));
}

}  // namespace
