#include "reading/workbench_facts.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

WorkbenchFacts factsOf(const std::string& text) {
  WorkbenchFacts facts;
  WorkbenchFactsReader reader(facts);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) reader.line(line);
  return facts;
}

TEST(Entities, AttributeValuesAreFoundByTheirWholeName) {
  std::string value;
  EXPECT_TRUE(attributeValue("<a key=\"k\" value=\"x &amp; y\"/>", "value", value));
  EXPECT_EQ(value, "x & y");
  EXPECT_TRUE(attributeValue("<a defaultvalue=\"no\" value=\"yes\"/>", "value", value));
  EXPECT_EQ(value, "yes");
  EXPECT_FALSE(attributeValue("<a valuex=\"no\"/>", "value", value));
}

TEST(WorkbenchFacts, SpecsOutputFoldersDefinesAndCompilers) {
  const WorkbenchFacts facts = factsOf(
      "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"gnu\"/>\n"
      "<listAttribute key=\"BLD::Info|specs\">\n"
      "  <stringAttribute value=\"diab\"/>\n"
      "  <stringAttribute value=\"gnu\"/>\n"
      "</listAttribute>\n"
      "<stringAttribute key=\"BLD::Info|redirDir|gnu\" value=\"out_gnu\"/>\n"
      "<listAttribute key=\"BLD::Info|Definess|gnu\">\n"
      "  <stringAttribute value=\"-DA=\\&quot;x\\&quot;\"/>\n"
      "  <stringAttribute value=\" \"/>\n"
      "</listAttribute>\n"
      "<listAttribute key=\"BLD::Info|Definess|diab\"/>\n"
      "<stringAttribute value=\"-DOUTSIDE\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd|gnu\" value=\"c++ppc -c\"/>\n"
      "<stringAttribute key=\"BLD::Info|specsX\" value=\"no\"/>\n");
  EXPECT_EQ(facts.defaultSpec, "gnu");
  EXPECT_EQ(facts.specs, (std::vector<std::string>{"diab", "gnu"}));
  ASSERT_EQ(facts.outputFolders.size(), 1u);
  EXPECT_EQ(facts.outputFolders[0].spec, "gnu");
  EXPECT_EQ(facts.outputFolders[0].value, "out_gnu");
  ASSERT_EQ(facts.defines.size(), 2u) << "an empty-element list holds nothing";
  EXPECT_EQ(facts.defines[0].spec, "gnu");
  EXPECT_EQ(facts.defines[0].value, "-DA=\\\"x\\\"");
  EXPECT_EQ(facts.defines[1].value, " ");
  ASSERT_EQ(facts.cxxCommands.size(), 1u);
  EXPECT_EQ(facts.cxxCommands[0].value, "c++ppc -c");
}

TEST(WorkbenchFacts, BuildTargetsWithTheirFoldersAndExcludes) {
  const WorkbenchFacts facts = factsOf(
      "<buildtargets>\n"
      "  <buildtarget name=\"app\" type=\"DKM\">\n"
      "    <contents>\n"
      "      <folder name=\"/P\" recursive=\"true\">\n"
      "        <excludes>\n"
      "          <file name=\"test.c\"/>\n"
      "        </excludes>\n"
      "      </folder>\n"
      "      <folder name=\"/P/lib\"/>\n"
      "    </contents>\n"
      "    <excludes><file name=\"/P/gen.c\"/></excludes>\n"
      "  </buildtarget>\n"
      "  <buildtarget name=\"test\"><folder name=\"/P\"><excludes><file name=\"app.c\"/>"
      "</excludes></folder></buildtarget>\n"
      "</buildtargets>\n"
      "<buildtarget name=\"outside\"/>\n");
  ASSERT_EQ(facts.targets.size(), 2u);
  const BuildTarget& app = facts.targets[0];
  EXPECT_EQ(app.name, "app");
  ASSERT_EQ(app.folders.size(), 3u);
  EXPECT_EQ(app.folders[0].name, "/P");
  EXPECT_TRUE(app.folders[0].recursive);
  EXPECT_EQ(app.folders[0].excludes, std::vector<std::string>{"test.c"});
  EXPECT_EQ(app.folders[1].name, "/P/lib");
  EXPECT_FALSE(app.folders[1].recursive);
  EXPECT_EQ(app.folders[2].name, "") << "excludes of the target as a whole";
  EXPECT_EQ(app.folders[2].excludes, std::vector<std::string>{"/P/gen.c"});
  ASSERT_EQ(facts.targets[1].folders.size(), 1u);
  EXPECT_EQ(facts.targets[1].folders[0].excludes, std::vector<std::string>{"app.c"});
}

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
