#include "driver/workspace_run.h"

#include <gtest/gtest.h>

#include "driver/messages.h"
#include "model/failure.h"

namespace {

using Args = std::vector<std::string>;

TEST(WorkspaceArguments, ByProjectOptionsKeptOnlyForTheirProject) {
  const Args given{"Plovik", "-workspace", "ws", "out", "-spec", "Lib:gnu", "-target", "App:all",
                   "-var", "App:DEBUG_MODE=0", "-var", "WIND_HOME=C:/WR", "-spec", "diab"};
  const struct {
    std::string project;
    Args kept;
  } cases[] = {
      {"Lib", {"Plovik", "-workspace", "ws", "out", "-spec", "gnu", "-var", "WIND_HOME=C:/WR",
               "-spec", "diab"}},
      {"App", {"Plovik", "-workspace", "ws", "out", "-target", "all", "-var", "DEBUG_MODE=0", "-var",
               "WIND_HOME=C:/WR", "-spec", "diab"}},
      // A prefix is the whole name: "Li" is not "Lib", nor "Lib2".
      {"Li", {"Plovik", "-workspace", "ws", "out", "-var", "WIND_HOME=C:/WR", "-spec", "diab"}},
  };
  for (const auto& c : cases) EXPECT_EQ(argumentsFor(given, c.project), c.kept) << c.project;
}

TEST(WorkspaceArguments, AColonAfterTheEqualsSignIsPartOfTheValue) {
  const Args given{"Plovik", "-var", "PATH_X=C:/a:b", "-pn", "Lib:x"};
  EXPECT_EQ(argumentsFor(given, "Lib"), given);
}

std::string entry(const std::string& file, const std::string& define) {
  return "  {\n    \"directory\": \"/ws\",\n    \"file\": \"" + file +
         "\",\n    \"arguments\": [\"cc\", \"-D" + define + "\", \"-c\", \"" + file + "\"]\n  }";
}

std::string database(const std::vector<std::string>& entries) {
  if (entries.empty()) return "[]\n";
  std::string text = "[";
  for (std::size_t i = 0; i < entries.size(); ++i) text += (i == 0 ? "\n" : ",\n") + entries[i];
  return text + "\n]\n";
}

TEST(WorkspaceDatabase, TheUnionOfTheProjectsEntriesEachOnce) {
  const std::string libA = entry("/ws/Lib/a.c", "LIB"), libAByApp = entry("/ws/Lib/a.c", "APP"),
                    app = entry("/ws/App/m.c", "APP}\\n  }");
  // The same file, as a project's groups may spell it.
  const std::vector<std::string> appEntersLib{"/ws//Lib/./a.c"};
  const struct {
    std::vector<std::string> databases;
    std::vector<std::vector<std::string>> othersFiles;
    std::string merged;
    std::size_t entries;
  } cases[] = {
      {{}, {}, "[]\n", 0},
      {{database({}), database({})}, {}, "[]\n", 0},
      // One entry per file: the first project's whose own file it is, in
      // the place the file was first met.
      {{database({app, libAByApp}), database({libA})}, {appEntersLib, {}}, database({app, libA}), 2},
      {{database({libA}), database({app, libAByApp})}, {{}, appEntersLib}, database({libA, app}), 2},
      // Its owner not converted: the entry of the project that entered it.
      {{database({app, libAByApp})}, {appEntersLib}, database({app, libAByApp}), 2},
      // Two projects that both call it their own: the first.
      {{database({app, libAByApp}), database({libA})}, {}, database({app, libAByApp}), 2},
      // The same entry from two projects once.
      {{database({libA}), database({}), database({libA, app})}, {}, database({libA, app}), 2},
  };
  for (const auto& c : cases) {
    std::size_t entries = 99;
    EXPECT_EQ(mergedDatabase(c.databases, entries, c.othersFiles), c.merged);
    EXPECT_EQ(entries, c.entries);
  }
}

TEST(WorkspaceDatabase, AnEntrysFileIsReadAsItsJsonString) {
  const struct {
    std::string entry;
    std::optional<std::string> file;
  } cases[] = {
      {entry("/ws/a.c", "X"), "/ws/a.c"},
      {"  {\n    \"file\": \"C:\\\\ws\\\\q\\\"\\u0001.c\",\n  }", "C:\\ws\\q\"\x01.c"},
      {"  {\n    \"file\": \"/a\\u12\"\n  }", "/a\\u12"},
      {"  {\n    \"directory\": \"/ws\"\n  }", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(fileOfEntry(c.entry), c.file) << c.entry;
}

TEST(WorkspaceChoice, OnlyTheNamedProjectsByNameOrOutputFolder) {
  const std::vector<WorkspaceProject> found{
      {"ws/App", "App", "App"}, {"ws/Lib", "Lib", "Lib"}, {"ws/old/Lib", "Lib", "Lib-2"}};
  const struct {
    Args names;
    std::vector<std::string> chosen;  // their folders, in the order found
  } cases[] = {
      {{}, {"ws/App", "ws/Lib", "ws/old/Lib"}},
      {{"Lib-2"}, {"ws/old/Lib"}},
      {{"Lib", "App"}, {"ws/App", "ws/Lib", "ws/old/Lib"}},
      {{"App", "App"}, {"ws/App"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> folders;
    for (const auto& project : chosenProjects(found, c.names)) folders.push_back(project.folder);
    EXPECT_EQ(folders, c.chosen) << ::testing::PrintToString(c.names);
  }
  try {
    chosenProjects(found, {"App", "app"});
    ADD_FAILURE() << "a name that chooses no project was taken";
  } catch (const Failure& failure) {
    EXPECT_EQ(messageFor(failure),
              "Invalid value for -project: \"app\" (give a project of the workspace: App, Lib, "
              "Lib-2)");
  }
}

}  // namespace
