#include "reading/linked_resources.h"

#include <gtest/gtest.h>

#include "model/failure.h"
#include "reading/project_description.h"


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


// The real-project mode takes the links from the description's own reading;
// it must find what a reading of its own would, wherever the two readings
// see the elements differently.
std::string shown(const ProjectLinks& read) {
  std::string text;
  for (const auto& link : read.links) {
    text += link.name + (link.folder ? " folder " : " file ") + (link.isUri ? "uri " : "path ") +
            link.location + ";";
  }
  for (const auto& [name, value] : read.variables) text += name + "=" + value + ";";
  return text;
}

TEST(LinkedResources, TheDescriptionsReadingGivesTheSameLinks) {
  const std::string head = "<projectDescription><name>App</name><projects></projects>";
  const std::string links =
      "<linkedResources><link><name>a.c</name><type>1</type><location>/x/a.c</location></link>"
      "</linkedResources>";
  const std::string variables =
      "<variableList><variable><name>V</name><value>file:/v</value></variable></variableList>";
  const std::string cases[] = {
      head + links + variables + "</projectDescription>",
      head + "<natures><nature>n</nature></natures><!-- c -->" + links + links +
          "</projectDescription>",
      // Links after the end of the description do not count.
      head + "</projectDescription>" + links,
      // An unclosed <name> in a build command: the description passes over
      // it, the links' reading counts it open, so that the links below stand
      // one level deeper for it and it reads on past the description's end.
      head + "<buildSpec><buildCommand><name>b</buildCommand></buildSpec>" + links +
          "</projectDescription>" + links + variables,
      head + "<linkedResources attr=\"1\"><link><name>d</name><type>2</type>"
             "<locationURI>virtual:/virtual</locationURI><extra/></link></linkedResources>"
             "</projectDescription>",
  };
  for (const std::string& text : cases) {
    ProjectLinks together;
    const ProjectDescription description = parseProjectDescription(text, together);
    EXPECT_EQ(shown(together), shown(parseLinkedResources(text))) << text;
    EXPECT_EQ(description.name, parseProjectDescription(text).name) << text;
  }
  ProjectLinks none;
  EXPECT_THROW(parseProjectDescription(head + links, none), XMLReaderError);
}

}  // namespace
