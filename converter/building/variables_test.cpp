#include "building/variables.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Words = std::vector<std::string>;

TEST(Variables, GivenThenBuildMacroThenWorkbenchThenEnvironment) {
  LookupTable macros;
  macros.set("CPU", "PPC32");
  macros.set("BASE", "/from/macro");
  macros.set("PRJ_ROOT_DIR", "/macro/prj");
  int looked = 0;
  VariableExpander expander({{"BASE", "/given/later"}, {"EMPTY", ""}}, macros,
                            [&](const std::string& name) -> std::optional<std::string> {
                              ++looked;
                              if (name == "HOME" || name == "WS_ROOT_DIR") return "/home/me";
                              return std::nullopt;
                            },
                            {{"PRJ_ROOT_DIR", "/wb/prj"}, {"WS_ROOT_DIR", "/wb/ws"}});
  EXPECT_EQ(expander.expand("$(BASE)/$(CPU)/$(HOME)/$(EMPTY)x/$(NONE)/$()/$(open"),
            "/given/later/PPC32//home/me/x/$(NONE)/$()/$(open");
  EXPECT_EQ(expander.expand("$(PRJ_ROOT_DIR) $(WS_ROOT_DIR)"), "/macro/prj /wb/ws");
  expander.expand("$(HOME)$(HOME)");
  EXPECT_EQ(looked, 2) << "each name is looked up once (HOME and NONE)";
  using Source = VariableExpander::Source;
  std::map<std::string, Source> sources;
  for (const auto& reference : expander.references()) sources[reference.name] = reference.source;
  EXPECT_EQ(sources, (std::map<std::string, Source>{{"BASE", Source::Given},
                                                    {"CPU", Source::BuildMacro},
                                                    {"EMPTY", Source::Given},
                                                    {"HOME", Source::Environment},
                                                    {"NONE", Source::None},
                                                    {"PRJ_ROOT_DIR", Source::BuildMacro},
                                                    {"WS_ROOT_DIR", Source::Workbench}}));
}

// Values naming variables are expanded in turn; what cannot be stays as
// written and is counted with its reason.
TEST(Variables, ExpandedInTurnWithLoopsAndGrowthStopped) {
  const std::string mega(1 << 20, 'm');
  VariableValues given{{"VSB_DIR", "$(PRJ_ROOT_DIR)/../VSB"},
                       {"A", "$(A)"},
                       {"B", "$(C)"},
                       {"C", "x$(B)"},
                       {"D", "<$(B)>"},
                       {"MEGA", mega},
                       {"FIVE", "$(MEGA)$(MEGA)$(MEGA)$(MEGA)$(MEGA)"}};
  for (int i = 0; i < VariableExpander::kMaxDepth + 5; ++i) {
    given.emplace_back("N" + std::to_string(i), "$(N" + std::to_string(i + 1) + ")");
  }
  given.emplace_back("N" + std::to_string(VariableExpander::kMaxDepth + 5), "end");
  LookupTable macros;
  using R = VariableExpander::Reason;
  struct Case {
    const char* text;
    std::string expanded;
    std::vector<std::pair<std::string, R>> left;
  } cases[] = {
      {"-I$(VSB_DIR)/h", "-I/p/../VSB/h", {}},
      {"$(A)", "$(A)", {{"A", R::RefersToItself}}},
      {"$(B)|$(C)|$(D)", "$(B)|$(C)|<$(B)>", {{"B", R::RefersToItself}, {"C", R::RefersToItself}}},
      {"$(MEGA)$(MEGA)", mega + mega, {}},
      {"$(FIVE)", "$(FIVE)", {{"FIVE", R::TooLong}}},
      {"$(N0)", "$(N64)", {{"N64", R::TooDeep}}},
      {"$(N10)", "end", {}},
      {"$(GONE) $(A$(B)) $(open", "$(GONE) $(A$(B)) $(open",
       {{"GONE", R::Unresolved}, {"$(A$(B)", R::Malformed}, {"$(open", R::Malformed}}},
  };
  for (const Case& c : cases) {
    VariableExpander fresh(given, macros, nullptr, {{"PRJ_ROOT_DIR", "/p"}});
    const std::string expanded = fresh.expand(c.text);
    EXPECT_EQ(expanded.size() < 200 ? expanded : expanded.substr(0, 200),
              c.expanded.size() < 200 ? c.expanded : c.expanded.substr(0, 200))
        << c.text;
    EXPECT_EQ(expanded.size(), c.expanded.size()) << c.text;
    fresh.countLeft(expanded, VariableExpander::IncludePath);
    std::vector<std::pair<std::string, R>> left;
    for (const auto& one : fresh.left()) left.emplace_back(one.name, one.reason);
    EXPECT_EQ(left, c.left) << c.text;
  }
}

TEST(Variables, WhatIsLeftIsCountedOncePerTextAndUse) {
  LookupTable macros;
  VariableExpander expander({}, macros, nullptr);
  expander.countLeft("$(W)/a $(W)/b $(V)", VariableExpander::IncludePath);
  expander.countLeft("$(W)", VariableExpander::IncludePath);
  expander.countLeft("$(W)", VariableExpander::MacroValue);
  ASSERT_EQ(expander.left().size(), 2u);
  EXPECT_EQ(expander.left()[0].name, "W");
  EXPECT_EQ(expander.left()[0].count[VariableExpander::IncludePath], 2u);
  EXPECT_EQ(expander.left()[0].count[VariableExpander::MacroValue], 1u);
  EXPECT_EQ(expander.left()[1].name, "V");
}

// Thousands of names, met again in their order, in reverse and at random:
// each is found as the one it is, however the table has grown, and a
// malformed reference is kept apart from a variable of the same text.
TEST(Variables, ManyNamesAreEachFoundAgainInAnyOrder) {
  LookupTable macros;
  macros.set("SET_7", "seven");
  VariableExpander expander({}, macros, nullptr);
  const int count = 3000;
  std::vector<int> order(count);
  for (int i = 0; i < count; ++i) order[i] = i;
  const auto text = [](int i) {
    return "$(" + (i == 7 ? std::string("SET_7") : "V" + std::to_string(i)) + ")/h";
  };
  for (const int i : order) EXPECT_EQ(expander.expand(text(i)), i == 7 ? "seven/h" : text(i));
  std::vector<int> reversed(order.rbegin(), order.rend());
  std::vector<int> shuffled = order;
  for (int i = 0; i < count; ++i) std::swap(shuffled[i], shuffled[(i * 7919) % count]);
  for (const auto* pass : {&order, &reversed, &shuffled}) {
    for (const int i : *pass) {
      expander.countLeft(expander.expand(text(i)), VariableExpander::IncludePath);
    }
  }
  expander.countLeft("$(V12 $(V12)", VariableExpander::MacroValue);
  const auto& left = expander.left();
  ASSERT_EQ(left.size(), static_cast<std::size_t>(count));  // less SET_7, plus "$(V12 $(V12)"
  for (std::size_t at = 0; at + 1 < left.size(); ++at) {
    const int i = static_cast<int>(at < 7 ? at : at + 1);
    EXPECT_EQ(left[at].name, "V" + std::to_string(i));
    EXPECT_EQ(left[at].reason, VariableExpander::Reason::Unresolved);
    EXPECT_EQ(left[at].count[VariableExpander::IncludePath], 3u) << i;
    EXPECT_EQ(left[at].count[VariableExpander::MacroValue], 0u) << i;
  }
  EXPECT_EQ(left.back().name, "$(V12 $(V12)");
  EXPECT_EQ(left.back().reason, VariableExpander::Reason::Malformed);
  const auto references = expander.references();
  ASSERT_EQ(references.size(), static_cast<std::size_t>(count));
  EXPECT_EQ(references[7].name, "SET_7");
  EXPECT_EQ(references[7].value, "seven");
  EXPECT_EQ(references[count - 1].name, "V" + std::to_string(count - 1));
}

TEST(Variables, AllExpansionsTogetherAreBounded) {
  const std::string big(std::size_t{3} << 20, 'b');
  LookupTable macros;
  VariableExpander expander({{"BIG", big}}, macros, nullptr);
  std::size_t expandedTexts = 0;
  while (expander.expand("$(BIG)") == big) ++expandedTexts;
  EXPECT_EQ(expandedTexts, VariableExpander::kMaxGrowth / big.size());
  expander.countLeft("$(BIG)", VariableExpander::MacroValue);
  ASSERT_EQ(expander.left().size(), 1u);
  EXPECT_EQ(expander.left()[0].reason, VariableExpander::Reason::TooLong);
}

TEST(Variables, AnAppendedTextIsBoundedOnItsOwn) {
  const std::string big(std::size_t{3} << 20, 'b');
  LookupTable macros;
  VariableExpander expander({{"BIG", big}, {"A", "a"}}, macros, nullptr);
  const struct {
    std::string before;
    std::string appended;
    std::string after;
  } cases[] = {
      {"", "x$(A)", "xa"},
      {"-I", "$(A)$(B)", "-Ia$(B)"},
      // What the text held already does not count against what is added.
      {big, "$(BIG)", big + big},
      {"", "$(BIG)$(BIG)", big + "$(BIG)"},
  };
  for (const auto& one : cases) {
    std::string text = one.before;
    expander.expandAppend(one.appended, text);
    EXPECT_EQ(text.size(), one.after.size()) << one.appended;
    EXPECT_TRUE(text == one.after) << one.appended;
  }
}

}  // namespace
