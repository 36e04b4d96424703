#include "building/build_targets.h"

#include <gtest/gtest.h>
#include <set>

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

// Targets that all refer to one another: each is followed once for each
// whole, every file is built, and the loops are named a few at a time, the
// others counted, each once.
TEST(TargetFilter, TargetsReferringToEachOtherAreFollowedOnceAndTheirLoopsBounded) {
  std::vector<BuildTarget> targets;
  for (int i = 0; i < 12; ++i) {
    BuildTarget target{"t" + std::to_string(i), {}, {"/P/f" + std::to_string(i) + ".c"}, {}};
    for (int j = 0; j < 12; ++j) target.references.push_back("/P/t" + std::to_string(j));
    targets.push_back(std::move(target));
  }
  const BuildTarget* const choices[] = {&targets[0], nullptr};
  for (const BuildTarget* chosen : choices) {
    const TargetFilter filter(targets, chosen, "P");
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(filter.keeps("f" + std::to_string(i) + ".c")) << i;
    ASSERT_EQ(filter.loops().size(), TargetFilter::kShownLoops);
    EXPECT_GT(filter.moreLoops(), 0u);
    const std::set<std::string> distinct(filter.loops().begin(), filter.loops().end());
    EXPECT_EQ(distinct.size(), filter.loops().size());
    EXPECT_EQ(filter.loops().front(), "t0 -> t0");
  }
  // A loop of two, met from either of its targets, is named once.
  const std::vector<BuildTarget> two{{"a", {}, {"/P/a.c"}, {"/P/b"}}, {"b", {}, {"/P/b.c"}, {"/P/a"}}};
  const TargetFilter filter(two, nullptr, "P");
  EXPECT_EQ(filter.loops(), std::vector<std::string>{"a -> b -> a"});
  EXPECT_EQ(filter.moreLoops(), 0u);
}

namespace {

// An exclude belongs to the contents it stands in: a target keeps what it
// builds itself though a target it refers to excludes it. A target with a
// build tool that names no contents builds nothing of its own, and counts
// for nothing without a chosen target; a goal without one (an image
// project's "vxWorks") builds what the project's Makefile builds.
TEST(TargetFilter, ExcludesBelongToTheirContentsAndEmptyTargetsBuildNothing) {
  auto made = [](std::string name, std::vector<BuildTarget::Folder> folders,
                 std::vector<std::string> references, std::string tool = "Linker") {
    BuildTarget target{std::move(name), std::move(folders), {}, std::move(references)};
    target.buildTool = std::move(tool);
    return target;
  };
  const std::vector<BuildTarget> targets{
      made("app", {{"/P", true, {"test.c"}}}, {"/P/lib"}),
      made("lib", {{"/P/src", true, {"x.c"}}, {"", false, {"/P/gone.c", "/P/test.c"}}}, {}),
      made("empty", {}, {}),
      made("vxWorks", {}, {}, ""),
  };
  struct Case {
    int chosen;  // -1: none
    std::vector<std::pair<const char*, bool>> keeps;
    bool namesNothing;
  } cases[] = {
      {0, {{"src/x.c", true}, {"gone.c", true}, {"test.c", false}, {"src/test.c", true}}, false},
      {1, {{"src/x.c", false}, {"src/y.c", true}, {"gone.c", false}, {"main.c", false}}, false},
      {2, {{"main.c", false}, {"src/y.c", false}}, true},
      {3, {{"main.c", true}, {"src/x.c", true}}, false},
      // Without a chosen target: what app and lib both leave out, the empty ones aside.
      {-1, {{"test.c", false}, {"src/x.c", true}, {"gone.c", true}, {"main.c", true}}, false},
  };
  for (const Case& one : cases) {
    const BuildTarget* chosen = one.chosen < 0 ? nullptr : &targets[one.chosen];
    const TargetFilter filter(targets, chosen, "P");
    for (const auto& [path, kept] : one.keeps) {
      EXPECT_EQ(filter.keeps(path), kept) << one.chosen << ": " << path;
    }
    EXPECT_EQ(filter.chosenNamesNothing(), one.namesNothing) << one.chosen;
  }
}

// A file takes the attributes of the target whose contents build it (the
// one referred to, for what a reference builds; without a chosen target,
// the first that builds it), of the innermost folder of those contents
// that holds it, and of its own entry.
TEST(TargetFilter, AFileTakesTheAttributesOfWhatBuildsIt) {
  OwnAttributes some;
  some.values.emplace_back("Tool|C-Compiler|flags", "-w");
  BuildTarget image{"image", {{"/P/src", true, {"old.c"}, some}}, {"/P/main.c"}, {"/P/lib"}};
  image.fileAttributes = {{"/P/src/own.c", some}, {"/P/src/old.c", some}};
  BuildTarget lib{"lib", {{"/P/lib", false, {}}}, {"/P/src/old.c"}};
  lib.attributes = some;
  const std::vector<BuildTarget> targets{image, lib};
  const BuildTarget* imageTarget = &targets[0];
  const BuildTarget* libTarget = &targets[1];
  const auto* src = &targets[0].folders[0];
  const auto* own = &targets[0].fileAttributes[0];
  struct Case {
    const BuildTarget* chosen;
    const char* path;
    FileAttributes attributes;
  } cases[] = {
      {imageTarget, "main.c", {imageTarget, nullptr, nullptr}},
      {imageTarget, "src/a.c", {imageTarget, src, nullptr}},
      {imageTarget, "src/own.c", {imageTarget, src, own}},
      // Excluded from image's src, built through its reference to lib: lib's alone.
      {imageTarget, "src/old.c", {libTarget, nullptr, nullptr}},
      {imageTarget, "lib/l.c", {libTarget, nullptr, nullptr}},
      {imageTarget, "lib/deeper/l.c", {}},
      {libTarget, "src/a.c", {}},
      {nullptr, "src/a.c", {imageTarget, src, nullptr}},
      {nullptr, "lib/l.c", {libTarget, nullptr, nullptr}},
  };
  for (const Case& one : cases) {
    const TargetFilter filter(targets, one.chosen, "P");
    EXPECT_TRUE(filter.attributesOf(one.path) == one.attributes)
        << (one.chosen ? one.chosen->name : "none") << ": " << one.path;
  }
}

}  // namespace
