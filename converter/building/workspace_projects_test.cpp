#include "building/workspace_projects.h"

#include <gtest/gtest.h>

#include <map>

#include "fake_folders.h"

namespace {

std::string at(const std::string& path) { return FakeFolders::native(path); }

class Workspace : public ::testing::Test {
 protected:
  // A project folder: its two files, its .project naming `name` (none: empty).
  void project(const std::string& folder, const std::string& name) {
    folders.file(folder + "/.project");
    folders.file(folder + "/.wrproject");
    if (!name.empty()) names[at(folder + "/.project")] = name;
  }
  // "folder=name outputName" for each project found, in order.
  std::vector<std::string> found(const std::vector<std::string>& passOverPaths = {}) {
    PassOver passOver;
    for (const auto& path : passOverPaths) passOver.add(at(path));
    const WorkspaceSearch search = findWorkspaceProjects(
        "ws", folders.lister(),
        [this](const std::string& path) -> std::optional<std::string> {
          const auto known = names.find(path);
          if (known == names.end()) return std::nullopt;
          return known->second;
        },
        passOver);
    std::vector<std::string> lines;
    for (const auto& p : search.projects) lines.push_back(p.folder + "=" + p.name + " " + p.outputName);
    return lines;
  }

  FakeFolders folders;
  std::map<std::string, std::string> names;
};

TEST_F(Workspace, FindsNestedProjectsNearestFirstAndInByteOrder) {
  project("ws/Zed", "Zed");
  project("ws/App", "App");
  project("ws/App/plugins/Inner", "Inner");  // a project inside another
  project("ws/groups/Lib", "Lib");
  EXPECT_EQ(found(), (std::vector<std::string>{at("ws/App") + "=App App", at("ws/Zed") + "=Zed Zed",
                                               at("ws/groups/Lib") + "=Lib Lib",
                                               at("ws/App/plugins/Inner") + "=Inner Inner"}));
}

TEST_F(Workspace, WhatIsNoProjectOrIsNotEntered) {
  project("ws/App", "App");
  folders.file("ws/OnlyProject/.project");       // no build description
  folders.file("ws/OnlyBuild/.wrproject");       // no project description
  folders.folder("ws/Odd/.project");             // a folder under the name
  folders.file("ws/Odd/.wrproject");
  project("ws/.metadata/.plugins/Kept", "Kept");  // Workbench's own folder
  project("ws/out/App", "App");                   // the destination, inside the workspace
  project("ws/.hidden", "Hidden");
  EXPECT_EQ(found({"ws/out"}), (std::vector<std::string>{at("ws/App") + "=App App"}));
}

TEST_F(Workspace, NamesFromTheProjectElseTheFolderMadeUniqueWhateverTheCase) {
  project("ws/a", "App");
  project("ws/b", "app");
  project("ws/c", "App");
  project("ws/Unnamed", "");
  EXPECT_EQ(found(), (std::vector<std::string>{at("ws/Unnamed") + "=Unnamed Unnamed",
                                               at("ws/a") + "=App App", at("ws/b") + "=app app-2",
                                               at("ws/c") + "=App App-3"}));
}

TEST_F(Workspace, TheWorkspaceFolderItselfMayBeAProject) {
  project("ws", "Root");
  project("ws/Lib", "Lib");
  EXPECT_EQ(found(), (std::vector<std::string>{"ws=Root Root", at("ws/Lib") + "=Lib Lib"}));
}

}  // namespace
