#include "reading/linked_resources.h"

#include <gtest/gtest.h>


namespace {

TEST(LinkedResources, LinksAndVariablesOfTheDescription) {
  const ProjectLinks read = parseLinkedResources(R"(<?xml version="1.0" encoding="UTF-8"?>
<projectDescription>
  <name>App</name>
  <projects></projects>
  <linkedResources>
    <link>
      <name>src/main.cpp</name>
      <type>1</type>
      <locationURI>PARENT-2-PROJECT_LOC/Examples/main.cpp</locationURI>
    </link>
    <link><name>lib</name><type>2</type><location>/opt/lib &amp; more </location></link>
    <link><name>nameless</name><type>1</type></link>
    <!-- a comment between links -->
    <link><name>virt</name><type>2</type><locationURI>virtual:/virtual</locationURI></link>
  </linkedResources>
  <variableList>
    <variable><name>SDK</name><value>$%7BPARENT-1-PROJECT_LOC%7D/sdk</value></variable>
  </variableList>
  <link><name>outside</name><type>1</type><location>/x</location></link>
</projectDescription>
)");
  ASSERT_EQ(read.links.size(), 3u);
  EXPECT_EQ(read.links[0].name, "src/main.cpp");
  EXPECT_FALSE(read.links[0].folder);
  EXPECT_TRUE(read.links[0].isUri);
  EXPECT_EQ(read.links[0].location, "PARENT-2-PROJECT_LOC/Examples/main.cpp");
  EXPECT_EQ(read.links[1].location, "/opt/lib & more");
  EXPECT_TRUE(read.links[1].folder);
  EXPECT_FALSE(read.links[1].isUri);
  EXPECT_EQ(read.links[2].name, "virt");
  EXPECT_EQ(read.variables, (NamedValues{{"SDK", "$%7BPARENT-1-PROJECT_LOC%7D/sdk"}}));
}

TEST(LinkedResources, ADescriptionOfAnotherShapeGivesWhatCameBefore) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"", 0},
      {"plain text", 0},
      {"<projectDescription><linkedResources><link><name>a", 0},
      {"<projectDescription><linkedResources><link><name>a</name><location>/a</location></link>"
       "<link>",
       1},
      {"<other><linkedResources><link><name>a</name><location>/a</location></link>", 0},
  };
  for (const auto& [text, links] : cases) {
    EXPECT_EQ(parseLinkedResources(text).links.size(), links) << text;
  }
}

}  // namespace
