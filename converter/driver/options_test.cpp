#include "driver/options.h"

#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/messages.h"
#include "driver/absolute_path.h"
#include "model/failure.h"

namespace {

using Args = std::vector<std::string>;

struct Scan {
  explicit Scan(Args tail) : args{"Plovik", "p", "w", "ws", "d"} {
    args.insert(args.end(), tail.begin(), tail.end());
    ok = applyOptions(job, args);
  }
  Args args;
  ConversionOptions job;
  bool ok;
};

// The message of the failure the options give, or "" when they are taken.
std::string refusal(Args tail) {
  try {
    Scan scan(std::move(tail));
  } catch (const Failure& failure) {
    return messageFor(failure);
  }
  return "";
}

TEST(OptionScan, ValueIsVisitedAsAnOptionInItsTurn) {
  Scan scan({"-pn", "-ext", "h"});
  ASSERT_TRUE(scan.ok);
  EXPECT_EQ(scan.job.projectName, "-ext");
  EXPECT_EQ(scan.job.fileExtensions, (Args{"h"}));
}

TEST(OptionScan, RepeatedOptionsReplaceOrAppend) {
  Scan scan({"-pn", "A", "-ext", "c", "-pn", "B", "-ext", "cpp"});
  ASSERT_TRUE(scan.ok);
  EXPECT_EQ(scan.job.projectName, "B");
  EXPECT_EQ(scan.job.fileExtensions, (Args{"c", "cpp"}));
}

TEST(OptionScan, OnlyExactNamesAreOptions) {
  Scan scan({"-PN", "x", "-pnx", "y", "pn", "z", "-ext"});
  EXPECT_FALSE(scan.ok) << "-ext as the last argument has no value";
  EXPECT_EQ(scan.job.projectName, "");
  Scan exact({"-PN", "x", "-pnx", "y", "pn", "z"});
  EXPECT_TRUE(exact.ok);
  EXPECT_EQ(exact.job.projectName, "");
  EXPECT_TRUE(exact.job.fileExtensions.empty());
}

TEST(OptionScan, OptionsBeforeThePositionalArgumentsAreBoth) {
  Args args{"Plovik", "-pn", "X", "a", "b", "c", "d"};
  ConversionJob job(args[1], args[2], args[3], args[4]);
  ASSERT_TRUE(applyOptions(job.options, args));
  EXPECT_EQ(job.options.projectName, "X");
  EXPECT_EQ(job.options.workspaceDir, "a");
}

TEST(OptionScan, PersonalitiesAreMadeAbsoluteExtensionsAreNot) {
  Scan scan({"-mp", "m.p_s", "-ap", "a.p_a", "-cp", "c.p_c", "-ext", "c,h"});
  ASSERT_TRUE(scan.ok);
  EXPECT_EQ(scan.job.messagePersonality, absolutePath("m.p_s"));
  EXPECT_EQ(scan.job.analyserPersonality, absolutePath("a.p_a"));
  EXPECT_EQ(scan.job.compilerPersonality, absolutePath("c.p_c"));
  EXPECT_EQ(scan.job.fileExtensions, (Args{"c", "h"}));
}

TEST(OptionScan, RealProjectOptionsSwitchTheModeOnAndKeepTheirValues) {
  for (const Args& tail : {Args{"-wb"}, Args{"-spec", "gnu"}, Args{"-var", "A=1"},
                           Args{"-map", "C:/x=y"}, Args{"-target", "t"}}) {
    Scan scan(tail);
    EXPECT_TRUE(scan.ok);
    EXPECT_TRUE(scan.job.realProject.enabled) << tail[0];
  }
  Scan all({"-var", "WIND_BASE=/wr", "-var", "EMPTY=", "-var", "E=a=b", "-map", "C:/ws=/ws",
            "-spec", "diab", "-spec", "gnu", "-target", "app"});
  ASSERT_TRUE(all.ok);
  using Pairs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(all.job.realProject.variables, (Pairs{{"WIND_BASE", "/wr"}, {"EMPTY", ""}, {"E", "a=b"}}));
  EXPECT_EQ(all.job.realProject.maps, (Pairs{{"C:/ws", "/ws"}}));
  EXPECT_EQ(all.job.realProject.spec, "gnu");
  EXPECT_EQ(all.job.realProject.target, "app");
  Scan without({"-pn", "x", "-ext", "c"});
  EXPECT_FALSE(without.job.realProject.enabled);
}

TEST(OptionScan, RealProjectOptionsWithoutAUsableValueAreNamed) {
  EXPECT_EQ(refusal({"-spec"}), "Missing value for -spec");
  EXPECT_EQ(refusal({"-target", ""}), "Missing value for -target");
  EXPECT_EQ(refusal({"-var"}), "Missing value for -var");
  EXPECT_EQ(refusal({"-var", "NAME"}), "Invalid value for -var: \"NAME\" (give NAME=VALUE)");
  EXPECT_EQ(refusal({"-var", "=x"}), "Invalid value for -var: \"=x\" (give NAME=VALUE)");
  EXPECT_EQ(refusal({"-map", ""}), "Invalid value for -map: \"\" (give FROM=TO)");
  // The value is visited in its turn, as for every option.
  EXPECT_EQ(refusal({"-pn", "-spec"}), "Missing value for -spec");
  EXPECT_EQ(refusal({"-wb"}), "");
}

TEST(AddFileExtensions, CutsAtEveryCommaKeepingEmptyParts) {
  Args extensions;
  addFileExtensions(extensions, "c,cpp,h");
  EXPECT_EQ(extensions, (Args{"c", "cpp", "h"}));
  extensions.clear();
  addFileExtensions(extensions, "c,,h");
  addFileExtensions(extensions, "c,");
  addFileExtensions(extensions, "");
  EXPECT_EQ(extensions, (Args{"c", "", "h", "c", "", ""}));
}

TEST(ConversionJob, StartsWithAnEmptyRootGroup) {
  ConversionJob job("p", "w", "ws", "d");
  EXPECT_TRUE(job.tree.root.files.empty());
  EXPECT_TRUE(job.tree.root.subGroups.empty());
  EXPECT_TRUE(job.options.projectName.empty());
  EXPECT_TRUE(job.options.fileExtensions.empty());
}

}  // namespace

namespace {

TEST(OptionScan, WorkspaceTakesTwoValuesAndJobsAWholeNumber) {
  const Scan scan({"-workspace", "ws", "out", "-j", "8"});
  EXPECT_EQ(scan.job.workspaceRun, "ws");
  EXPECT_EQ(scan.job.workspaceDest, absolutePath("out"));
  EXPECT_EQ(scan.job.jobs, 8u);
  EXPECT_TRUE(scan.job.realProject.enabled);
  EXPECT_EQ(Scan({"-j", "1024"}).job.jobs, 1024u);
  EXPECT_FALSE(Scan({"-j", "3"}).job.realProject.enabled);
  const std::pair<Args, std::string> cases[] = {
      {{"-workspace", "ws"}, "Missing value for -workspace"},
      {{"-workspace", "", "out"}, "Missing value for -workspace"},
      {{"-workspace", "ws", ""}, "Missing value for -workspace"},
      {{"-j"}, "Missing value for -j"},
      {{"-j", "0"}, "Invalid value for -j: \"0\" (give 1 to 1024)"},
      {{"-j", "1025"}, "Invalid value for -j: \"1025\" (give 1 to 1024)"},
      {{"-j", "99999999999"}, "Invalid value for -j: \"99999999999\" (give 1 to 1024)"},
      {{"-j", "2x"}, "Invalid value for -j: \"2x\" (give 1 to 1024)"},
      {{"-j", "-3"}, "Invalid value for -j: \"-3\" (give 1 to 1024)"},
  };
  for (const auto& [tail, message] : cases) EXPECT_EQ(refusal(tail), message) << tail.size();
}

// A workspace run parses its options once; each project takes the -pn,
// -spec, -target and -var meant for it or for all, in command-line order.
TEST(ProjectSettings, EachProjectTakesItsOwnAndTheCommonOnesInOrder) {
  using Variables = std::vector<std::pair<std::string, std::string>>;
  const struct {
    Args tail;
    std::string project;
    std::string spec, target, name;
    Variables variables;
    std::string refusal;  // the project's own failure; "": none
  } cases[] = {
      {{"-spec", "Lib:gnu", "-target", "App:all", "-var", "App:DEBUG_MODE=0", "-var",
        "WIND_HOME=C:/WR", "-spec", "diab"},
       "App", "diab", "all", "App", {{"DEBUG_MODE", "0"}, {"WIND_HOME", "C:/WR"}}, ""},
      {{"-spec", "diab", "-spec", "Lib:gnu", "-target", "App:all"},
       "Lib", "gnu", "", "Lib", {}, ""},
      // By its output folder too, and letter case counts.
      {{"-spec", "Lib-2:gnu", "-spec", "lib:diab"}, "Lib", "gnu", "", "Lib", {}, ""},
      // A prefix is the whole name: "Li" is not "Lib".
      {{"-spec", "Lib:gnu", "-var", "Lib:X=1"}, "Li", "", "", "Li", {}, ""},
      // A colon after the "=" is part of the value; -pn has no prefix.
      {{"-var", "PATH_X=C:/a:b", "-pn", "Lib:x"}, "Lib", "", "", "Lib:x", {{"PATH_X", "C:/a:b"}}, ""},
      {{"-pn", ""}, "Lib", "", "", "", {}, ""},
      // Left empty by its prefix: that project alone fails, as the option would.
      {{"-spec", "App:"}, "App", "", "", "App", {}, "Missing value for -spec"},
      {{"-spec", "App:"}, "Lib", "", "", "Lib", {}, ""},
      {{"-target", "gnu", "-target", "App:", "-pn", "P"}, "App", "", "gnu", "App", {},
       "Missing value for -target"},
      {{"-var", "App:=x"}, "App", "", "", "App", {}, "Invalid value for -var: \"=x\" (give NAME=VALUE)"},
      {{"-var", "App:A=", "-var", "App:B=1"}, "App", "", "", "App", {{"A", ""}, {"B", "1"}}, ""},
      // A name given again takes its last value, in its first place.
      {{"-var", "A=1", "-var", "B=2", "-var", "App:A=3", "-var", "Lib:A=4"}, "App", "", "", "App",
       {{"A", "3"}, {"B", "2"}}, ""},
  };
  for (const auto& c : cases) {
    Scan scan(c.tail);
    ASSERT_TRUE(scan.ok);
    std::string refused;
    try {
      takeProjectSettings(scan.job, c.project, c.project == "Lib" ? "Lib-2" : "");
    } catch (const Failure& failure) {
      refused = messageFor(failure);
    }
    const std::string row = ::testing::PrintToString(c.tail) + " for " + c.project;
    EXPECT_EQ(refused, c.refusal) << row;
    EXPECT_EQ(scan.job.realProject.spec, c.spec) << row;
    EXPECT_EQ(scan.job.realProject.target, c.target) << row;
    EXPECT_EQ(scan.job.projectName, c.name) << row;
    EXPECT_EQ(scan.job.realProject.variables, c.variables) << row;
  }
}

}  // namespace
