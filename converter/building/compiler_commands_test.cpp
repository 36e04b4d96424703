#include "building/compiler_commands.h"

#include <gtest/gtest.h>

namespace {

TEST(CompilerCommands, DefinitionsAmongTheWords) {
  std::map<std::string, std::string> macros{{"OLD", "1"}};
  defineFromWords({"-DA", "-DB=2", "-D", "C=3", "-I/x", "-D=nameless", "-DA=again", "-D"}, macros);
  EXPECT_EQ(macros, (std::map<std::string, std::string>{
                        {"A", "again"}, {"B", "2"}, {"C", "3"}, {"OLD", "1"}}));
}

}  // namespace
