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
