#include "building/link_locations.h"

#include <gtest/gtest.h>

#include "text/path.h"

namespace {

std::string native(std::string text) {
  for (char& c : text) {
    if (c == '/') c = path::separator();
  }
  return text;
}

TEST(LinkLocations, Resolve) {
  ModeContext context{.workspaceDir = native("/ws"),
                      .projectFolder = native("/ws/deep/App"),
                      .notes = ignoreNotes()};
  context.options.variables = {{"MY_ROOT", "/given"}, {"MY_ROOT", "/given/later"}};
  context.links.variables = {
      {"SDK", "$%7BPARENT-1-PROJECT_LOC%7D/sdk"}, {"LOOP", "LOOP/x"}, {"OLD", "file:/opt/old"}};
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
      {"file://LocalHost/opt/x.c", true, LinkLocation::Path, "/opt/x.c"},
      // Another machine's share is no folder of this one.
      {"file://host/share/x.c", true, LinkLocation::Unknown, ""},
      {"file://host", true, LinkLocation::Unknown, ""},
      {"file:%2F%2Fhost/share", true, LinkLocation::Unknown, ""},
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
