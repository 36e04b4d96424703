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

// Each simple command of a recipe with how surely it runs: "+" runs, "?"
// maybe, "-" never; its words joined by "|".
std::vector<std::string> commandsOf(std::string_view recipe, bool lines = true) {
  std::vector<std::string> shown;
  readRecipe(
      recipe,
      [&](ShellCommand& command) {
        std::string text(1, "+?-"[static_cast<int>(command.reach)]);
        for (const auto& word : command.words) text += "|" + word;
        for (const unsigned char id : command.splitBy) text += " split by " + std::to_string(id);
        shown.push_back(text);
      },
      lines);
  return shown;
}

TEST(ShellWords, ARecipeIsReadAsMakeAndTheShellRunIt) {
  using Commands = std::vector<std::string>;
  const std::string kept{kKeep};
  const std::string mark = kept + kSplitMark;
  const struct {
    std::string recipe;
    Commands commands;
  } cases[] = {
      // Lists, pipes, line breaks and a line continued; comments and
      // redirections are no words.
      {"a 1 && b; c || d | e & f\ng\\\nh # i j", {"+|a|1", "+|b", "+|c", "+|d", "+|e", "+|f", "+|gh"}},
      {"cc -c x 2>&1 >>log <in 2>/dev/null >&- 3<>io | tee build.log", {"+|cc|-c|x", "+|tee|build.log"}},
      {"a#b '#c' # d", {"+|a#b|#c"}},
      // Substitutions, the shell's and make's left unexpanded, are part of
      // one word; "$$" stays as make writes it.
      {"cc -DR=`git describe; echo x` -DH=$$(hostname; echo \")\") -DE=$${HOME} $$HOME",
       {"+|cc|-DR=`git describe; echo x`|-DH=$$(hostname; echo \")\")|-DE=$${HOME}|$$HOME"}},
      {"cc $(f a,$(B) c) ${D} $< \"$@\" $(open", {"+|cc|$(f a,$(B) c)|${D}|$<|$@|$(open"}},
      {"cc \"a \\$$x \\` \\q\" 'b \\ \"' c\\ d", {"+|cc|a $$x ` \\q|b \\ \"|c d"}},
      // Make's prefixes at the start of each line.
      {"@-ccppc -c x\n + @mkdir obj", {"+|ccppc|-c|x", "+|mkdir|obj"}},
      {"-DX -c x", {"+|-DX|-c|x"}},  // not lines: a part of a command
      // Known conditions: branches that never run; unknown: maybe.
      {"cc -c x && if [ \"0\" = \"1\" ]; then apicheck x;fi",
       {"+|cc|-c|x", "+|[|0|=|1|]", "-|apicheck|x"}},
      {"if [ -d $(P) ]; then a; elif test 1 != 1; then b; else c; fi; d",
       {"+|[|-d|$(P)|]", "?|a", "?|test|1|!=|1", "-|b", "?|c", "+|d"}},
      {"if true; then a; else b; fi", {"+|true", "+|a", "-|b"}},
      {"[ -n \"\" ] && a || b; ! [ -z x ] || c; false && d && e || f",
       {"+|[|-n||]", "-|a", "+|b", "+|[|-z|x|]", "-|c", "+|false", "-|d", "-|e", "+|f"}},
      {"case $x in (a|b) one;; c) two ;; esac; for i in 1 2; do three; done",
       {"?|one", "?|two", "?|three"}},
      {"while false; do a; done; until [ a = a ]; do b; done; { c; }; (cd /p && d) > log",
       {"+|false", "-|a", "+|[|a|=|a|]", "-|b", "+|c", "+|cd|/p", "+|d"}},
      // Quoted or substituted, a reserved word is a word.
      {"'if' x; echo then fi", {"+|if|x", "+|echo|then|fi"}},
      // The bytes a caller keeps: a path with a space and a quote is one
      // word; a value's white space splits, and says whose.
      {"cc -I/my" + kept + " work/h" + kept + "' " + mark + "\x07 x \"-DQ=a" + mark + "\x08 b\"",
       {"+|cc|-I/my work/h'|x|-DQ=a b"}},
      {"cc -DA" + mark + "\x05 -DB " + mark + "\x06 -DC", {"+|cc|-DA|-DB|-DC split by 5"}},
  };
  for (const auto& one : cases) {
    EXPECT_EQ(commandsOf(one.recipe, one.recipe != "-DX -c x"), one.commands) << one.recipe;
  }
  EXPECT_EQ(keptWhole("/a b/c$(d)"), "/a" + kept + " b/c$$" + kept + "(d" + kept + ")");
  EXPECT_EQ(withoutMarks(keptWhole("/a b/\"q\"") + mark + "\x01\t"), "/a b/\"q\"\t");
}

// Megabytes of what would make a careless reader go back or nest without
// end, after the command that compiles: read at once, that command whole.
TEST(ShellWords, AHostileRecipeIsReadInOnePass) {
  const std::string units[] = {"$(", "$$(", "if ", "'", "\"`", "a\\\n", "x>", "( ", "{ ",
                               "case x in ", "do ", std::string{kKeep, kSplitMark}};
  for (const std::string& unit : units) {
    std::string recipe = "cc -DOK -c $< && ";
    while (recipe.size() < (std::size_t{4} << 20)) recipe += unit;
    std::vector<std::string> first;
    std::size_t commands = 0;
    readRecipe(recipe, [&](ShellCommand& command) {
      if (commands++ == 0) first = std::move(command.words);
    });
    EXPECT_EQ(first, (std::vector<std::string>{"cc", "-DOK", "-c", "$<"})) << unit;
  }
}

}  // namespace
