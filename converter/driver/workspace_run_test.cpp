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

// A PROJECT: prefix names a project as -project does, exactly; one naming
// none ends the run. A -var's colon after its "=" is part of its value.
TEST(WorkspaceChoice, APrefixNamesAProjectOfTheWorkspace) {
  const std::vector<WorkspaceProject> found{
      {"ws/App", "App", "App"}, {"ws/Lib", "Lib", "Lib"}, {"ws/old/Lib", "Lib", "Lib-2"}};
  const struct {
    std::vector<ProjectSetting> settings;
    std::string refusal;  // "": taken
  } cases[] = {
      {{{OptionId::Spec, "Lib-2", "T"}, {OptionId::Target, "App", "all"}}, ""},
      {{{OptionId::Variable, std::nullopt, "PATH=C:/x"}, {OptionId::Spec, std::nullopt, "T"}}, ""},
      {{{OptionId::ProjectName, std::nullopt, "Nope:x"}}, ""},
      {{{OptionId::Spec, "Lib", "T"}, {OptionId::Spec, "Nope", "T"}},
       "Invalid value for -spec: \"Nope:T\" (give a project of the workspace: App, Lib, Lib-2)"},
      {{{OptionId::Spec, "app", "T"}},
       "Invalid value for -spec: \"app:T\" (give a project of the workspace: App, Lib, Lib-2)"},
      {{{OptionId::Variable, "C", "X=1"}},
       "Invalid value for -var: \"C:X=1\" (give a project of the workspace: App, Lib, Lib-2)"},
      {{{OptionId::Target, "", "all"}},
       "Invalid value for -target: \":all\" (give a project of the workspace: App, Lib, Lib-2)"},
  };
  for (const auto& c : cases) {
    std::string refused;
    try {
      checkProjectPrefixes(found, c.settings);
    } catch (const Failure& failure) {
      refused = messageFor(failure);
    }
    EXPECT_EQ(refused, c.refusal);
  }
}

}  // namespace
