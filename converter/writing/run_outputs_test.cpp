#include "writing/run_outputs.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

namespace {

const char sep = path::separator();

std::string p(std::string text) {
  for (char& c : text) {
    if (c == '/') c = sep;
  }
  return text;
}

using Kinds = std::vector<OutputKind>;

Kinds kindsOf(const std::vector<RunOutput>& outputs) {
  Kinds kinds;
  for (const auto& output : outputs) kinds.push_back(output.kind);
  return kinds;
}

TEST(RunOutputs, NameEveryOutputInTheOrderTheCommitOpensThem) {
  using K = OutputKind;
  struct Case {
    const char* message;
    const char* compiler;
    const char* database;
    Kinds kinds;
  };
  const Case cases[] = {
      {"", "", "",
       {K::ProjectFile, K::MessagePersonality, K::AnalyserPersonality, K::CompilerPersonality,
        K::Destination, K::PersonFolder}},
      {"m.p_s", "c.p_c", "",
       {K::ProjectFile, K::AnalyserPersonality, K::Destination, K::PersonFolder}},
      {"m.p_s", "", "db.json",
       {K::CompilationDatabase, K::ProjectFile, K::AnalyserPersonality, K::CompilerPersonality,
        K::Destination, K::PersonFolder}},
  };
  for (const auto& c : cases) {
    const ProjectLayout layout{"/d", "/ws", "App", c.message, c.compiler, false, {}};
    EXPECT_EQ(kindsOf(runOutputs(layout, c.database)), c.kinds) << c.message << c.compiler;
  }
}

TEST(RunOutputs, PathsLieInTheDestinationJoinedAsTyped) {
  const ProjectLayout layout{p("/d/"), "/ws", "App", "", "", false, {}};
  const std::pair<OutputKind, std::string> expected[] = {
      {OutputKind::ProjectFile, p("/d//App.prj")},
      {OutputKind::MessagePersonality, p("/d//person/App.p_s")},
      {OutputKind::AnalyserPersonality, p("/d//person/App.p_a")},
      {OutputKind::CompilerPersonality, p("/d//person/App.p_c")},
      {OutputKind::Destination, p("/d/")},
      {OutputKind::PersonFolder, p("/d//person/")},
  };
  const auto outputs = runOutputs(layout, "");
  ASSERT_EQ(outputs.size(), std::size(expected));
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    EXPECT_EQ(outputs[i].kind, expected[i].first);
    EXPECT_EQ(outputs[i].path, expected[i].second);
  }
}

TEST(RunOutputs, FoldersNameEachGroupBelowTheProjectsFolder) {
  FileGroup root("root");
  auto a = std::make_unique<FileGroup>("a");
  a->subGroups.push_back(std::make_unique<FileGroup>("root"));
  root.subGroups.push_back(std::move(a));
  root.subGroups.push_back(std::make_unique<FileGroup>("b"));
  const ProjectLayout layout{p("/d"), "/ws", "App", "", "", false, {}};
  const std::vector<std::string> expected{
      p("/d/person/"),           p("/d/App/output/"),   p("/d/App"),
      p("/d/App/a/output/"),     p("/d/App/a"),         p("/d/App/a/root/output/"),
      p("/d/App/a/root"),        p("/d/App/b/output/"), p("/d/App/b")};
  EXPECT_EQ(runFolders(root, layout), expected);
}

}  // namespace
