#include "text/entities.h"

#include <gtest/gtest.h>

namespace {

TEST(Entities, TheFiveNamedOnesAndCharacterReferencesAreDecoded) {
  EXPECT_EQ(decodeEntities("\\&quot;a&amp;b&lt;c&gt;&apos;"), "\\\"a&b<c>'");
  EXPECT_EQ(decodeEntities("&#65;&#x42;&#xe9;&#x1F600;"), "AB\xC3\xA9\xF0\x9F\x98\x80");
  // Anything else stays as written.
  EXPECT_EQ(decodeEntities("&nbsp; & &#; &#0; &#xZZ; &amp"), "&nbsp; & &#; &#0; &#xZZ; &amp");
}

}  // namespace
