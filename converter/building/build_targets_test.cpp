#include "building/build_targets.h"

#include <gtest/gtest.h>

namespace {

BuildTarget target(std::string name, std::vector<BuildTarget::Folder> folders) {
  return {std::move(name), std::move(folders)};
}

const std::vector<BuildTarget> kTargets{
    target("app", {{"/P", true, {"test_main.c"}}}),
    target("test", {{"/P", true, {"app_main.c", "/P/src/gen.c"}}, {"/Other/x", true, {}}}),
    target("lib", {{"/P/lib", false, {"old.c"}}}),
};

TEST(TargetFilter, AChosenTargetKeepsWhatItBuilds) {
  const TargetFilter app(kTargets, &kTargets[0], "P");
  EXPECT_TRUE(app.keeps("app_main.c"));
  EXPECT_FALSE(app.keeps("test_main.c"));
  EXPECT_TRUE(app.keeps("src\\test_main.c")) << "an exclude names a path below its folder";

  const TargetFilter test(kTargets, &kTargets[1], "P");
  EXPECT_FALSE(test.keeps("app_main.c"));
  EXPECT_FALSE(test.keeps("src/gen.c")) << "an exclude from the workspace";
  EXPECT_TRUE(test.keeps("src/other.c"));

  const TargetFilter lib(kTargets, &kTargets[2], "P");
  EXPECT_TRUE(lib.keeps("lib/a.c"));
  EXPECT_FALSE(lib.keeps("lib/old.c"));
  EXPECT_FALSE(lib.keeps("lib/deeper/b.c")) << "the folder is not recursive";
  EXPECT_FALSE(lib.keeps("main.c"));
}

TEST(TargetFilter, WithoutAChosenTargetOnlyWhatEveryTargetExcludesGoes) {
  const TargetFilter none(kTargets, nullptr, "P");
  EXPECT_TRUE(none.keeps("app_main.c"));
  EXPECT_TRUE(none.keeps("test_main.c"));
  const std::vector<BuildTarget> both{target("a", {{"/P", true, {"x.c"}}}),
                                      target("b", {{"", false, {"/P/x.c"}}})};
  EXPECT_FALSE(TargetFilter(both, nullptr, "P").keeps("x.c"));
  EXPECT_TRUE(TargetFilter({}, nullptr, "P").keeps("x.c"));
}

TEST(TargetFilter, FoldersOfOtherProjectsAreNotThisOnes) {
  // "/Px" is no folder of "/P".
  const std::vector<BuildTarget> other{target("t", {{"/Px", true, {}}})};
  EXPECT_TRUE(TargetFilter(other, &other[0], "P").keeps("a.c"));
}

}  // namespace

// A target's own files and the targets it refers to, followed in turn; a
// loop of references is followed once and named.
TEST(TargetFilter, FilesAndReferencedTargetsAreBuilt) {
  auto made = [](std::string name, std::vector<BuildTarget::Folder> folders,
                 std::vector<std::string> files, std::vector<std::string> references) {
    return BuildTarget{std::move(name), std::move(folders), std::move(files), std::move(references)};
  };
  const std::vector<BuildTarget> targets{
      made("image", {}, {}, {"/P/partial", "/Other/lib"}),
      made("partial", {{"/P/src", true, {"old.c"}}}, {"/P/Autonomous.cpp", "/Q/q.c"}, {"/P/extra"}),
      made("extra", {}, {"/P/tools/gen.c"}, {}),
      made("a", {}, {"/P/a.c"}, {"/P/b"}),
      made("b", {}, {"/P/b.c"}, {"/P/a"}),
      made("other", {}, {}, {"/Other/lib", "/P/none"}),
  };
  struct Case {
    std::size_t chosen;
    std::vector<std::pair<const char*, bool>> keeps;
    std::vector<std::string> loops;
  } cases[] = {
      {0,
       {{"Autonomous.cpp", true}, {"src/x.c", true}, {"src/old.c", false}, {"tools/gen.c", true},
        {"main.c", false}, {"q.c", false}},
       {}},
      {3, {{"a.c", true}, {"b.c", true}, {"c.c", false}}, {"a -> b -> a"}},
      // Other projects' targets build none of this one's files.
      {5, {{"a.c", true}}, {}},
  };
  for (const Case& one : cases) {
    const TargetFilter filter(targets, &targets[one.chosen], "P");
    for (const auto& [path, kept] : one.keeps) {
      EXPECT_EQ(filter.keeps(path), kept) << targets[one.chosen].name << ": " << path;
    }
    EXPECT_EQ(filter.loops(), one.loops) << targets[one.chosen].name;
  }
}
