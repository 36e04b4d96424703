#include "text/shell_words.h"

#include <gtest/gtest.h>

namespace {

using Words = std::vector<std::string>;

TEST(ShellWords, QuotesGroupAndBackslashesKeep) {
  EXPECT_EQ(shellWords("  -DA=1\t-DB=\"x y\" -DC='a \"b\"' -DD=\\\"q\\\" \"\" "),
            (Words{"-DA=1", "-DB=x y", "-DC=a \"b\"", "-DD=\"q\"", ""}));
  EXPECT_EQ(shellWords("-DS=\"say \\\"hi\\\"\""), (Words{"-DS=say \"hi\""}));
  EXPECT_EQ(shellWords("\"unclosed a b"), (Words{"unclosed a b"}));
  EXPECT_TRUE(shellWords(" \t ").empty());
  // Runs of plain characters end at a quote, a backslash or a space.
  EXPECT_EQ(shellWords("a\"b c\"d\\ e'f'g\\\nh\\"), (Words{"ab cd efg\nh\\"}));
  EXPECT_EQ(shellWords("a\vb\fc\rd\ne\x80;&|f"), (Words{"a", "b", "c", "d", "e\x80;&|f"}));
}

TEST(ShellWords, ListsAreCutOutsideQuotes) {
  EXPECT_EQ(shellCommands("echo \"a; b\" && cc -c x; true || 'c;d'"),
            (std::vector<std::string_view>{"echo \"a; b\" ", " cc -c x", " true ", " 'c;d'"}));
  EXPECT_EQ(shellCommands(""), (std::vector<std::string_view>{""}));
  // Between the bytes that matter, long runs are passed over; a single "&"
  // or "|" separates nothing, an escaped ";" neither.
  const std::string run(100, 'x');
  EXPECT_EQ(shellCommands(run + "&" + run + "|x\\;y;\"" + run + ";\\\";\"&&" + run),
            (std::vector<std::string_view>{run + "&" + run + "|x\\;y",
                                           "\"" + run + ";\\\";\"", run}));
  EXPECT_EQ(shellCommands("a;"), (std::vector<std::string_view>{"a", ""}));
}

}  // namespace
