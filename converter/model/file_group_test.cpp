#include "model/file_group.h"

#include <algorithm>
#include <functional>
#include <string>
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

// The groups left: a tree written as "name(children)", files as "*".
std::string shape(const FileGroup& group) {
  std::string text = group.name + std::string(group.files.size(), '*');
  if (group.subGroups.empty()) return text;
  text += "(";
  for (const auto& sub : group.subGroups) text += shape(*sub) + (sub == group.subGroups.back() ? "" : " ");
  return text + ")";
}

TEST(PruneEmptyGroups, FromTheBottomUpAndOnlyThoseNamed) {
  // root(a(a1 a2*) b(b1(b2)) c)
  const auto tree = [] {
    auto root = std::make_unique<FileGroup>("root");
    FileGroup& a = add(*root, "a");
    add(a, "a1");
    add(a, "a2").files.push_back("f");
    add(add(add(*root, "b"), "b1"), "b2");
    add(*root, "c");
    return root;
  };
  struct Case {
    std::function<bool(const FileGroup&)> prunes;
    const char* left;
  } cases[] = {
      {nullptr, "root(a(a2*))"},
      {[](const FileGroup& g) { return g.name != "b1"; }, "root(a(a2*) b(b1))"},
      {[](const FileGroup& g) { return g.name == "b2"; }, "root(a(a1 a2*) b(b1) c)"},
      {[](const FileGroup&) { return false; }, "root(a(a1 a2*) b(b1(b2)) c)"},
  };
  for (const Case& c : cases) {
    auto root = tree();
    pruneEmptyGroups(*root, c.prunes);
    EXPECT_EQ(shape(*root), c.left);
  }
}

}  // namespace
