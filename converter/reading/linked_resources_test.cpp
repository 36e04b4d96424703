#include "reading/linked_resources.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

std::string native(std::string path) {
  for (char& c : path) {
    if (c == '/') c = platform::separator;
  }
  return path;
}

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

TEST(LinkedResources, LocationsResolve) {
  const LinkContext context{native("/ws/deep/App"), native("/ws"),
                            {{"MY_ROOT", "/given"}, {"MY_ROOT", "/given/later"}},
                            {{"SDK", "$%7BPARENT-1-PROJECT_LOC%7D/sdk"},
                             {"LOOP", "LOOP/x"},
                             {"OLD", "file:/opt/old"}}};
  struct Case {
    const char* location;
    bool isUri;
    LinkLocation::Kind kind;
    const char* path;
  } cases[] = {
      {"PROJECT_LOC/src/a.c", true, LinkLocation::Path, "/ws/deep/App/src/a.c"},
      {"PARENT-2-PROJECT_LOC/Examples/main.cpp", true, LinkLocation::Path, "/ws/Examples/main.cpp"},
      {"WORKSPACE_LOC/Lib/x.c", true, LinkLocation::Path, "/ws/Lib/x.c"},
      {"PARENT-1-WORKSPACE_LOC/top", true, LinkLocation::Path, "/top"},
      {"MY_ROOT/src", true, LinkLocation::Path, "/given/later/src"},
      {"SDK/inc", true, LinkLocation::Path, "/ws/deep/sdk/inc"},
      {"OLD/a%20b.c", true, LinkLocation::Path, "/opt/old/a b.c"},
      {"file:/opt/x/y.c", true, LinkLocation::Path, "/opt/x/y.c"},
      {"file:///opt/x/./z.c", true, LinkLocation::Path, "/opt/x/z.c"},
      {"virtual:/virtual", true, LinkLocation::Virtual, ""},
      {"/abs/path.c", false, LinkLocation::Path, "/abs/path.c"},
      {"UNKNOWN/x.c", true, LinkLocation::Unknown, ""},
      {"LOOP/y", true, LinkLocation::Unknown, ""},
      {"PARENT-x-PROJECT_LOC/a", true, LinkLocation::Unknown, ""},
      {"PARENT-1-NOPE/a", true, LinkLocation::Unknown, ""},
      {"", false, LinkLocation::Unknown, ""},
  };
  for (const Case& c : cases) {
    const LinkLocation where = resolveLinkLocation({"name", false, c.location, c.isUri}, context);
    EXPECT_EQ(where.kind, c.kind) << c.location;
    EXPECT_EQ(where.path, c.kind == LinkLocation::Path ? native(c.path) : "") << c.location;
  }
}

}  // namespace
