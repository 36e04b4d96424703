#include "reading/line_runs.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

// The runs a text is handed in, read with small blocks and a small limit
// on the lines held, so that every path is taken with a few bytes. A line
// holds what is looked for when it holds "KEY".
std::vector<std::string> runsOf(const std::string& text, std::size_t block, std::size_t held) {
  std::istringstream in(text);
  std::vector<std::string> got;
  LineRuns runs;
  runs.lines = [&](std::string_view lines) { got.emplace_back(lines); };
  runs.holds = [](std::string_view part) { return part.find("KEY") != std::string_view::npos; };
  runs.overlap = 2;
  runs.block = block;
  runs.held = held;
  readLineRuns(in, in.tellg(), runs);
  return got;
}

std::string joinedRuns(const std::vector<std::string>& runs) {
  std::string all;
  for (const auto& run : runs) {
    EXPECT_TRUE(run.empty() || run.back() == '\n' || &run == &runs.back()) << run;
    all += run;
  }
  return all;
}

TEST(LineRuns, HandOnEveryLineWholeAndInOrder) {
  struct Case {
    std::string text;
    std::size_t block;
  };
  const Case cases[] = {
      {"a\nbb\nccc\n", 4},  {"a\nbb\nccc", 4},   {"a\nbb\nccc\n", 100},
      {"", 4},              {"\n\n\n", 1},       {"abcdefgh\nij\n", 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinedRuns(runsOf(c.text, c.block, 1000)), c.text) << c.text << " " << c.block;
  }
}

// A line past the limit without the key is not handed on; one whose key
// comes late (even split between two blocks) is read again whole, and the
// lines after it go on as before.
TEST(LineRuns, LongLinesAreHandedOnOnlyWhenTheyHoldTheKey) {
  const std::string pad(45, 'x');  // "xKEY" and "xxKEY" end past a block
  struct Case {
    std::string text;
    std::string handed;  // the runs joined
  };
  const Case cases[] = {
      {pad + "\nKEY\n", "KEY\n"},
      {pad + "KEY\nafter\n", pad + "KEY\nafter\n"},
      {pad + "xKEY\nafter\n", pad + "xKEY\nafter\n"},
      {pad + "xxKEY\nafter\n", pad + "xxKEY\nafter\n"},
      {pad + "KEY", pad + "KEY"},
      {"KEY\n" + pad, "KEY\n"},
      {"a\n" + pad + "\nb\n" + pad, "a\nb\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(joinedRuns(runsOf(c.text, 8, 16)), c.handed) << c.text;
  }
}

}  // namespace
