#include "reading/spec_prescan.h"

#include <gtest/gtest.h>
#include <sstream>

#include "reading/workbench_facts.h"

namespace {

TEST(PrescanSpecs, FindsTheDefaultAndTheFirstSpecAnywhereAndRewinds) {
  const std::string filler(300000, 'x');  // past the first block
  const std::string text =
      "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"early\"/>\n" + filler + "\n" +
      "<listAttribute key=\"BLD::Info|specs\">\n" + filler + "\n" +
      "<stringAttribute value=\"first&amp;\"/>\n<stringAttribute value=\"second\"/>\n" +
      "</listAttribute>\n" + filler +
      "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"late\"/>";
  std::istringstream in(text);
  std::string defaultSpec, firstSpec;
  ASSERT_TRUE(prescanSpecs(in, defaultSpec, firstSpec));
  EXPECT_EQ(defaultSpec, "late") << "the last one counts, as in the full reading";
  EXPECT_EQ(firstSpec, "first&");
  std::string start(12, ' ');
  in.read(start.data(), 12);
  EXPECT_EQ(start, "<stringAttri");
}

// An empty first entry is the first entry: the search must not look for it
// again and again.
TEST(PrescanSpecs, AnEmptyFirstEntryEndsTheSearch) {
  std::istringstream in("<listAttribute key=\"BLD::Info|specs\">\n<stringAttribute value=\"\"/>\n"
                        "<stringAttribute value=\"second\"/>\n</listAttribute>\n");
  std::string defaultSpec, firstSpec;
  ASSERT_TRUE(prescanSpecs(in, defaultSpec, firstSpec));
  EXPECT_EQ(firstSpec, "");
  EXPECT_EQ(defaultSpec, "");
}

// Lines of several megabytes: one without a key is not held whole, but a
// key later in it (even across two blocks read) still counts, as do the
// lines after it. The full reading is the reference.
TEST(PrescanSpecs, LongLinesGiveWhatTheFullReadingGives) {
  const std::string key = "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"";
  const std::string list = "<listAttribute key=\"BLD::Info|specs\">\n";
  for (const std::size_t padding : {std::size_t{5} << 20, (std::size_t{5} << 20) + 262144 - 20,
                                    (std::size_t{5} << 20) + 262144 - 40}) {
    const std::string pad(padding, 'x');
    for (const std::string& text :
         {pad + "\n" + key + "A\"/>\n",                         // a key after a long line
          pad + key + "B\"/>\n<x/>\n",                          // late in the long line itself
          list + pad + "<stringAttribute value=\"C\"/>\n",       // the list's entry after it
          key + "D\"/>\n" + pad,                                  // a long last line, unended
          pad + key + "E\"/>"}) {                                // a key in the unended last line
      std::istringstream in(text);
      std::string defaultSpec, firstSpec;
      ASSERT_TRUE(prescanSpecs(in, defaultSpec, firstSpec));
      WorkbenchFacts facts;
      WorkbenchFactsReader reader(facts);
      std::istringstream again(text);
      for (std::string line; std::getline(again, line);) reader.line(line);
      EXPECT_EQ(defaultSpec, facts.defaultSpec) << padding;
      EXPECT_EQ(firstSpec, facts.specs.empty() ? "" : facts.specs.front()) << padding;
      EXPECT_EQ(in.tellg(), 0);
    }
  }
}

}  // namespace
