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

namespace {

// The matcher from whole lines, handed in runs as the block reader cuts
// them: where a run is cut changes nothing.
TEST(SpecKeyMatcher, FindsTheLastDefaultAndTheListsFirstEntry) {
  const std::string d = "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"";
  const std::string list = "<listAttribute key=\"BLD::Info|specs\">\n";
  const std::string entry = "<stringAttribute value=\"";
  struct Case {
    std::vector<std::string> runs;
    const char* defaultSpec;
    const char* firstSpec;
  };
  const Case cases[] = {
      {{d + "A\"/>\n", d + "B\"/>\n"}, "B", ""},
      {{d + "A\"/>\n" + d + "B\"/>\n"}, "B", ""},
      {{list + entry + "x\"/>\n" + entry + "y\"/>\n"}, "", "x"},
      {{list, entry + "x\"/>\n", entry + "y\"/>\n"}, "", "x"},
      // An entry before the list, or on the list's own line, is none of its.
      {{entry + "w\"/>\n" + list + entry + "x\"/>\n"}, "", "x"},
      {{"<listAttribute key=\"BLD::Info|specs\">" + entry + "w\"/>\n", entry + "x\"/>\n"}, "", "x"},
      // Only the first list counts; the entry line's first value is read.
      {{list, list + entry + "x\"/>\n"}, "", "x"},
      {{list, "<a value=\"v\"/>" + entry + "x\"/>\n"}, "", "v"},
      // Other keys and a key not closed where the name ends are no default.
      {{"<stringAttribute key=\"BLD::Info|defaultSpecs\" value=\"N\"/>\n"}, "", ""},
      {{"<stringAttribute key=\"BLD::Info|Incl|A\" value=\"N\"/>"}, "", ""},
      {{d + "A&amp;B\"/>"}, "A&B", ""},
  };
  for (const auto& c : cases) {
    SpecKeyMatcher matcher;
    for (const auto& run : c.runs) matcher.lines(run);
    EXPECT_EQ(matcher.defaultSpec, c.defaultSpec) << c.runs.front();
    EXPECT_EQ(matcher.firstSpec, c.firstSpec) << c.runs.front();
  }
}

TEST(SpecKeyMatcher, HoldsAnEntryOnlyOnceTheListHasOpened) {
  SpecKeyMatcher matcher;
  EXPECT_TRUE(matcher.holdsKey("x BLD::Info|anything"));
  EXPECT_FALSE(matcher.holdsKey("<stringAttribute value=\"x\"/>"));
  matcher.lines("<listAttribute key=\"BLD::Info|specs\">\n");
  EXPECT_TRUE(matcher.holdsKey("<stringAttribute value=\"x\"/>"));
  EXPECT_FALSE(matcher.holdsKey("<stringAttribute name=\"x\"/>"));
  EXPECT_EQ(SpecKeyMatcher::longestKey(), std::string_view("stringAttribute value=\"").size());
}

}  // namespace
