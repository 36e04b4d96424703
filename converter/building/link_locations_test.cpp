#include "building/link_locations.h"

#include <gtest/gtest.h>

#include "note_lines.h"
#include "text/path.h"

namespace {

std::string native(std::string text) {
  for (char& c : text) {
    if (c == '/') c = path::separator();
  }
  return text;
}

TEST(LinkLocations, Resolve) {
  RealProjectContext context{.workspaceDir = native("/ws"),
                             .projectFolder = native("/ws/deep/App"),
                             .notes = ignoreNotes()};
  context.options.variables = {{"MY_ROOT", "/given/later"}};
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


const char* sourceName(VariableExpander::Source source) {
  switch (source) {
    case VariableExpander::Source::Given: return "-var";
    case VariableExpander::Source::PathVariable: return ".project";
    case VariableExpander::Source::Workbench: return "own";
    case VariableExpander::Source::None: return "none";
    default: return "other";
  }
}

// The variables the converter defines for commands resolve locations too,
// after -var and the project's path variables of the same name; Eclipse's
// own names stay before the project's. Each row gives the variable the
// location begins with a path variable and a -var, or not.
TEST(LinkLocations, TheConvertersOwnVariablesComeAfterTheGivenAndTheProjects) {
  const std::string workspace = native("/h/u/p/r/o/j/ws");
  const std::string project = native("/h/u/p/r/o/j/ws/App");
  const VariableValues own{{"PRJ_ROOT_DIR", project}, {"WS_ROOT_DIR", workspace},
                           {"BUILD_SPEC", "gnu"}};
  struct Case {
    const char* location;
    const char* pathVariable;  // of the name the location begins with; null: none
    const char* given;         // -var of that name; null: none
    const char* path;          // "": unknown
    const char* met;           // the variables reported, "NAME source" each
  } cases[] = {
      {"WS_ROOT_DIR/Lib/x.c", nullptr, nullptr, "/h/u/p/r/o/j/ws/Lib/x.c", "WS_ROOT_DIR own"},
      {"WS_ROOT_DIR/Lib/x.c", "file:/other", nullptr, "/other/Lib/x.c", "WS_ROOT_DIR .project"},
      {"WS_ROOT_DIR/Lib/x.c", "file:/other", "/given", "/given/Lib/x.c", "WS_ROOT_DIR -var"},
      {"PARENT-6-WS_ROOT_DIR/Src/x.c", nullptr, nullptr, "/h/Src/x.c", "WS_ROOT_DIR own"},
      {"PARENT-6-WS_ROOT_DIR/Src/x.c", "file:/a/b/c/d/e/f/g", nullptr, "/a/Src/x.c",
       "WS_ROOT_DIR .project"},
      {"PARENT-1-WS_ROOT_DIR/x.c", nullptr, "/g/w", "/g/x.c", "WS_ROOT_DIR -var"},
      {"PRJ_ROOT_DIR/src/a.c", nullptr, nullptr, "/h/u/p/r/o/j/ws/App/src/a.c", "PRJ_ROOT_DIR own"},
      {"PRJ_ROOT_DIR/src/a.c", "$%7BWORKSPACE_LOC%7D/Other", nullptr,
       "/h/u/p/r/o/j/ws/Other/src/a.c", "PRJ_ROOT_DIR .project"},
      {"PRJ_ROOT_DIR/src/a.c", "file:/x", "/p", "/p/src/a.c", "PRJ_ROOT_DIR -var"},
      {"BUILD_SPEC/obj.c", nullptr, nullptr, "/h/u/p/r/o/j/ws/App/gnu/obj.c", "BUILD_SPEC own"},
      // A path variable naming the converter's own, and one naming itself:
      // it hides the converter's, so it is a loop and no location.
      {"SDK/inc", "$%7BPARENT-1-WS_ROOT_DIR%7D/sdk", nullptr, "/h/u/p/r/o/j/sdk/inc",
       "SDK .project, WS_ROOT_DIR own"},
      {"WS_ROOT_DIR/a.c", "$%7BWS_ROOT_DIR%7D/x", nullptr, "", "WS_ROOT_DIR .project"},
      // Eclipse's own win over a path variable, not over -var; unreported
      // unless given.
      {"PROJECT_LOC/a.c", "file:/x", nullptr, "/h/u/p/r/o/j/ws/App/a.c", ""},
      {"WORKSPACE_LOC/a.c", nullptr, "/given", "/given/a.c", "WORKSPACE_LOC -var"},
      {"NOPE/a.c", nullptr, nullptr, "", "NOPE none"},
  };
  for (const Case& c : cases) {
    RealProjectContext context{
        .workspaceDir = workspace, .projectFolder = project, .notes = ignoreNotes()};
    const std::string_view location = c.location;
    std::string name(location.substr(0, location.find('/')));
    if (name.starts_with("PARENT-")) name.erase(0, name.find('-', 7) + 1);
    if (c.pathVariable) context.links.variables.emplace_back(name, c.pathVariable);
    if (c.given) context.options.variables.emplace_back(name, c.given);
    LinkResolver resolver(context, own);
    const LinkLocation where = resolver.resolve({"name", false, c.location, true});
    EXPECT_EQ(where.path, native(c.path)) << c.location << " " << (c.pathVariable != nullptr)
                                          << (c.given != nullptr);
    std::string met;
    for (const auto& reference : resolver.references()) {
      met += (met.empty() ? "" : ", ") + reference.name + " " + sourceName(reference.source);
    }
    EXPECT_EQ(met, c.met) << c.location << " " << (c.pathVariable != nullptr)
                          << (c.given != nullptr);
  }
}

}  // namespace
