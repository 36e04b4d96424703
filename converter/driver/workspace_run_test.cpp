#include "driver/workspace_run.h"

#include <gtest/gtest.h>

#include "driver/messages.h"
#include "model/failure.h"

namespace {

using Args = std::vector<std::string>;

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
