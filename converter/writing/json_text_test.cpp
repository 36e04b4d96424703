#include "writing/json_text.h"

#include <gtest/gtest.h>

namespace {

TEST(JsonText, QuotesBackslashesAndControlCharactersAreEscaped) {
  std::string out = "[";
  appendJsonString(out, "C:\\a \"b\"\n\r\t\b\f\x01\x1f\x7f \xc3\xbc/");
  EXPECT_EQ(out, "[\"C:\\\\a \\\"b\\\"\\n\\r\\t\\b\\f\\u0001\\u001f\x7f \xc3\xbc/\"");
  out.clear();
  appendJsonString(out, std::string("a\0b", 3));
  EXPECT_EQ(out, "\"a\\u0000b\"");
}

}  // namespace
