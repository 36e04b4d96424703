#include "text/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, IsToldFromOtherBytes) {
  for (const char* valid : {"", "plain", "Pr\xc3\xbc" "fung", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
                            "\xf4\x8f\xbf\xbf", "\xed\x9f\xbf", "\x7f"}) {
    EXPECT_TRUE(isUtf8(valid)) << valid;
  }
  for (const char* invalid : {"\x80", "a\xff", "\xc0\xaf", "\xc1\xbf", "\xe0\x9f\xbf",
                              "\xed\xa0\x80", "\xf0\x8f\xbf\xbf", "\xf4\x90\x80\x80", "\xf5\x80\x80\x80",
                              "\xe2\x82", "\xc3", "\xe2\x28\xa1", "Latin-1 \xfc"}) {
    EXPECT_FALSE(isUtf8(invalid)) << invalid;
  }
}

TEST(Utf8, WhatIsNotIsShownAsQuestionMarks) {
  EXPECT_EQ(shownAsUtf8("Pr\xc3\xbc" "fung"), "Pr\xc3\xbc" "fung");
  EXPECT_EQ(shownAsUtf8("a\xff\xc3"), "a??");
  EXPECT_EQ(shownAsUtf8("\xe2\x82x"), "??x");
}

}  // namespace
