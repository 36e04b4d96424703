#include "driver/entry.h"

#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/normalise_path.h"

namespace {

using Args = std::vector<std::string>;

struct Scan {
  explicit Scan(Args tail) : args{"Plovik", "p", "w", "ws", "d"} {
    args.insert(args.end(), tail.begin(), tail.end());
    ok = applyOptions(job, args);
  }
  Args args;
  ConversionJob job{"p", "w", "ws", "d"};
  bool ok;
};

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
  ASSERT_TRUE(applyOptions(job, args));
  EXPECT_EQ(job.projectName, "X");
  EXPECT_EQ(job.workspaceDir, "a");
}

TEST(OptionScan, PersonalitiesAreMadeAbsoluteExtensionsAreNot) {
  Scan scan({"-mp", "m.p_s", "-ap", "a.p_a", "-cp", "c.p_c", "-ext", "c,h"});
  ASSERT_TRUE(scan.ok);
  EXPECT_EQ(scan.job.messagePersonality, normalisePath("m.p_s"));
  EXPECT_EQ(scan.job.analyserPersonality, normalisePath("a.p_a"));
  EXPECT_EQ(scan.job.compilerPersonality, normalisePath("c.p_c"));
  EXPECT_EQ(scan.job.fileExtensions, (Args{"c", "h"}));
}

TEST(AddFileExtensions, CutsAtEveryCommaKeepingEmptyParts) {
  ConversionJob job("p", "w", "ws", "d");
  job.addFileExtensions("c,cpp,h");
  EXPECT_EQ(job.fileExtensions, (Args{"c", "cpp", "h"}));
  job.fileExtensions.clear();
  job.addFileExtensions("c,,h");
  job.addFileExtensions("c,");
  job.addFileExtensions("");
  EXPECT_EQ(job.fileExtensions, (Args{"c", "", "h", "c", "", ""}));
}

TEST(ConversionJob, StartsWithAnEmptyRootGroup) {
  ConversionJob job("p", "w", "ws", "d");
  EXPECT_TRUE(job.rootGroup.files.empty());
  EXPECT_TRUE(job.rootGroup.subGroups.empty());
  EXPECT_TRUE(job.projectName.empty());
  EXPECT_TRUE(job.fileExtensions.empty());
}

}  // namespace
