#include "text/lookup_table.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(LookupTable, KeepsTheLatestValueOfEachName) {
  LookupTable table;
  EXPECT_EQ(table.get("CPU"), "");
  table.set("CPU", "PPC32");
  table.set("CPU_VARIANT", "_ppc604");
  table.set("C", "");
  table.set("CPU", "ARM");
  EXPECT_EQ(table.get("CPU"), "ARM");
  EXPECT_EQ(table.get("CPU_VARIANT"), "_ppc604");
  EXPECT_EQ(table.get("C"), "");
  EXPECT_EQ(table.get("CP"), "");
  EXPECT_EQ(table.get("cpu"), "") << "names are compared with case";
  EXPECT_EQ(table.size(), 3u);
}

TEST(LookupTable, TheEmptyNameIsANameLikeAnyOther) {
  LookupTable table;
  table.set("", "nothing");
  table.set("x", "y");
  EXPECT_EQ(table.get(""), "nothing");
  EXPECT_EQ(table.get("x"), "y");
}

TEST(LookupTable, AValueSetAgainReusesItsRoomWhereItFits) {
  LookupTable table;
  table.set("A", "first value");
  table.set("B", "other");
  for (const std::string value : {"x", "", "eleven char", "a value longer than the first", "y"}) {
    table.set("A", value);
    EXPECT_EQ(table.get("A"), value);
    EXPECT_EQ(table.get("B"), "other");
  }
  table.set("A", table.get("A"));
  EXPECT_EQ(table.get("A"), "y") << "a value may come from the table itself";
}

TEST(LookupTable, HoldsManyEntriesThroughItsGrowth) {
  LookupTable table;
  constexpr int count = 50000;
  for (int i = 0; i < count; ++i) {
    // The values are given from a buffer that is overwritten each time: the
    // table must keep copies.
    std::string name = "MACRO_" + std::to_string(i);
    std::string value = "value " + std::to_string(i * 7);
    table.set(name, value);
    name.assign(name.size(), '?');
    value.assign(value.size(), '?');
  }
  for (int i = 0; i < count; i += 2) table.set("MACRO_" + std::to_string(i), "even");
  EXPECT_EQ(table.size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const std::string expected = i % 2 == 0 ? "even" : "value " + std::to_string(i * 7);
    ASSERT_EQ(table.get("MACRO_" + std::to_string(i)), expected) << i;
  }
  EXPECT_EQ(table.get("MACRO_" + std::to_string(count)), "");
}

}  // namespace
