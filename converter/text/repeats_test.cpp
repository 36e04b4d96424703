#include "text/repeats.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace {

std::vector<bool> repeatsOf(const std::vector<std::string>& items,
                            std::function<std::size_t(const std::string&)> hash) {
  return repeatedItems(
      items.size(), [&](std::size_t i) { return hash(items[i]); },
      [&](std::size_t i, std::size_t j) { return items[i] == items[j]; });
}

TEST(RepeatedItems, KeepsTheFirstOfEachWhateverTheHashes) {
  const std::function<std::size_t(const std::string&)> hashes[] = {
      [](const std::string& s) { return std::hash<std::string>{}(s); },
      [](const std::string&) { return std::size_t{7}; },                 // all collide
      [](const std::string& s) { return s.empty() ? 0 : std::size_t(s[0]) << 40; },  // low bits 0
  };
  const struct {
    std::vector<std::string> items;
    std::vector<bool> repeated;
  } cases[] = {
      {{}, {}},
      {{"a"}, {false}},
      {{"a", "b", "c"}, {false, false, false}},
      {{"a", "a", "a"}, {false, true, true}},
      {{"ab", "ac", "ab", "ad", "ac", ""}, {false, false, true, false, true, false}},
      {{"", "x", ""}, {false, false, true}},
  };
  for (const auto& hash : hashes) {
    for (const auto& c : cases) EXPECT_EQ(repeatsOf(c.items, hash), c.repeated);
  }
}

TEST(RepeatedItems, ManyItemsPastTheTablesFirstSize) {
  std::vector<std::string> items;
  std::vector<bool> expected;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5000; ++i) {
      items.push_back(std::to_string(i * 7919 % 5000));
      expected.push_back(round == 1);
    }
  }
  EXPECT_EQ(repeatsOf(items, [](const std::string& s) { return std::hash<std::string>{}(s); }),
            expected);
}

}  // namespace
