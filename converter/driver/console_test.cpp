#include "driver/console.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

// Lines are checked 8 bytes at a time: a control character is found at
// every place within and across those blocks, and only from `from` on.
TEST(Console, ShowLineMarksEachControlCharacterWherever) {
  const std::string c1 = platform::namesAreUtf8 ? "?" : "\xc2\x9b";
  const std::string lead = "0123456789abcdef";  // two blocks
  const struct {
    std::string text, shown;
  } rows[] = {
      {"", ""},
      {"plain", "plain"},
      {lead + lead, lead + lead},
      {"\x1b[2J", "?[2J"},
      {"1234567\n", "1234567?"},
      {"12345678\r", "12345678?"},
      {lead + "\x7f", lead + "?"},
      {lead.substr(0, 7) + "\xc2\x9b" + "x", lead.substr(0, 7) + c1 + "x"},
      {lead + "\xc3\xa9\t" + lead, lead + "\xc3\xa9?" + lead},
      {"\x01\x02" + lead + "\x1f", "??" + lead + "?"},
  };
  for (const auto& row : rows) {
    std::string text = "kept\x1b" + row.text;
    showLine(text, 5);
    EXPECT_EQ(text, "kept\x1b" + row.shown + "\n") << row.text;
  }
}

}  // namespace
