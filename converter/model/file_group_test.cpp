#include "model/file_group.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

FileGroup& add(FileGroup& parent, const std::string& name) {
  parent.subGroups.push_back(std::make_unique<FileGroup>(name));
  return *parent.subGroups.back();
}

TEST(WalkGroups, DepthFirstInPreOrder) {
  FileGroup root("root");
  FileGroup& a = add(root, "a");
  add(a, "a1");
  add(a, "a2");
  add(root, "b");
  std::string order;
  walkGroups(
      root, [&](FileGroup& g) { order += "<" + g.name; },
      [&](FileGroup& g) { order += ">" + g.name; });
  EXPECT_EQ(order, "<root<a<a1>a1<a2>a2>a<b>b>root");
}

// Sub-groups nest as deep as a source tree: neither walking nor destroying
// a tree may recurse.
TEST(FileGroup, AVeryDeepTreeIsWalkedAndDestroyedWithoutRecursion) {
  constexpr std::size_t depth = 200000;
  auto root = std::make_unique<FileGroup>("root");
  FileGroup* group = root.get();
  for (std::size_t level = 1; level < depth; ++level) group = &add(*group, "g");
  std::size_t entered = 0, left = 0, deepest = 0;
  walkGroups(
      *root, [&](FileGroup&) { deepest = std::max(deepest, ++entered - left); },
      [&](FileGroup&) { ++left; });
  EXPECT_EQ(entered, depth);
  EXPECT_EQ(left, depth);
  EXPECT_EQ(deepest, depth);
  root.reset();
}

}  // namespace
