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
      "<stringAttribute key=\"BLD::Info|specsX\" value=\"no\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|flags|gnu\" value=\"$(CC_ARCH_SPEC) -mrtp\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|dbgFlags|gnu\" value=\"-g\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|objects|gnu\" value=\"no\"/>\n");
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
  ASSERT_EQ(facts.toolFlags.size(), 2u);
  EXPECT_EQ(facts.toolFlags[0].tool + "|" + facts.toolFlags[0].part + "|" + facts.toolFlags[0].spec +
                "=" + facts.toolFlags[0].value,
            "C-Compiler|flags|gnu=$(CC_ARCH_SPEC) -mrtp");
  EXPECT_EQ(facts.toolFlags[1].tool + "|" + facts.toolFlags[1].part, "C++-Compiler|dbgFlags");
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
      "      <file name=\"/P/Autonomous.cpp\"/>\n"
      "      <buildtargetreference name=\"/P/partial\"/>\n"
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
  EXPECT_EQ(app.files, std::vector<std::string>{"/P/Autonomous.cpp"});
  EXPECT_EQ(app.references, std::vector<std::string>{"/P/partial"});
  ASSERT_EQ(facts.targets[1].folders.size(), 1u);
  EXPECT_EQ(facts.targets[1].folders[0].excludes, std::vector<std::string>{"app.c"});
}

}  // namespace
