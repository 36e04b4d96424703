// Special files and memory limits against the run: a FIFO or a link to
// /dev/zero where the workspace search reads .project files, devices and
// FIFOs named as the compilation database, and a run that runs out of
// memory. Each run ends, with a sound result or one clear line.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "limited_run.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace fs = std::filesystem;

namespace {

class HostileLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("out");
    dir.writeFile("ws/App/.project",
                  "<projectDescription><name>App</name><projects><project>Lib</project>"
                  "<project>Big</project><project>Gone</project></projects></projectDescription>");
    dir.writeFile("ws/App/.wrproject", "<subprojects>\n</subprojects>\n");
    dir.writeFile("ws/App/main.c", "");
  }
  LimitedResult convert(std::vector<std::string> options, const Limits& limits = quick()) {
    std::vector<std::string> args{"ws/App/.project", "ws/App/.wrproject", "ws", "out"};
    args.insert(args.end(), options.begin(), options.end());
    return runLimited(args, dir.str(), limits);
  }
  static Limits quick() {
    Limits limits;
    limits.timeoutSeconds = 60;
    return limits;
  }

  TempDir dir;
};

// A cloned repository can hold a FIFO (which would wait for a writer) or a
// link to /dev/zero (which never ends) under the name .project.
TEST_F(HostileLimits, TheWorkspaceSearchReadsOnlyRegularProjectFiles) {
  dir.makeFolder("ws/fifo");
  ASSERT_EQ(mkfifo(dir.str("ws/fifo/.project").c_str(), 0600), 0);
  dir.makeFolder("ws/zero");
  fs::create_symlink("/dev/zero", dir.path() / "ws/zero/.project");
  dir.writeFile("elsewhere/.project",
                "<projectDescription><name>Gone</name><projects></projects></projectDescription>");
  dir.makeFolder("ws/linked");
  fs::create_symlink(dir.path() / "elsewhere/.project", dir.path() / "ws/linked/.project");
  // The project Lib lies in src/Lib; Big's .project is over the bound read.
  dir.writeFile("ws/src/Lib/.project",
                "<projectDescription><name>Lib</name><projects></projects></projectDescription>");
  dir.writeFile("ws/src/Lib/lib.c", "");
  dir.writeFile("ws/src/Big/.project", "<projectDescription><name>Big</name><comment>" +
                                           std::string(3 << 20, 'x') +
                                           "</comment><projects></projects></projectDescription>");
  dir.writeFile("ws/src/Big/big.c", "");
  const LimitedResult result = convert({"-wb"});
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0) << result.out;
  const std::string prj = readFile(dir.path() / "out/App.prj");
  EXPECT_NE(prj.find("src/Lib/lib.c\r\n"), std::string::npos) << prj;
  EXPECT_NE(prj.find("src/Big/big.c\r\n"), std::string::npos) << prj;
  EXPECT_NE(lines(result.out).find("Warning: referenced project Gone not found in the workspace\n"),
            std::string::npos)
      << "a .project reached through a link is not read: " << result.out;
  // AddressSanitizer's own bookkeeping would swamp the bound.
  if (!kSanitized) {
    EXPECT_LT(result.peakRssKb, 64 * 1024) << "KiB: /dev/zero was not read";
  }
}

// A sub-project's .wrproject is read only where it is a regular file: a FIFO
// or a link to /dev/zero leaves its files with the project's settings.
TEST_F(HostileLimits, ASubprojectsBuildDescriptionIsReadOnlyWhenRegular) {
  for (const std::string name : {"Lib", "Big"}) {
    dir.writeFile("ws/" + name + "/.project",
                  "<projectDescription><name>" + name + "</name></projectDescription>");
    dir.writeFile("ws/" + name + "/x.c", "");
  }
  ASSERT_EQ(mkfifo(dir.str("ws/Lib/.wrproject").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir.path() / "ws/Big/.wrproject");
  const LimitedResult result = convert({"-wb", "-cdb", "out/cdb.json"});
  ASSERT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0) << result.out;
  EXPECT_NE(lines(result.out).find("Warning: 2 referenced projects have no readable .wrproject, "
                                   "their files take the project's settings: Lib, Big\n"),
            std::string::npos)
      << result.out;
  if (!kSanitized) {
    EXPECT_LT(result.peakRssKb, 64 * 1024) << "KiB: /dev/zero was not read";
  }
}

TEST_F(HostileLimits, ADatabaseNamingADeviceAFifoOrALinkReplacesNothing) {
  ASSERT_EQ(convert({}).exitCode, 0);
  const auto earlier = readFile(dir.path() / "out/App.prj");
  ASSERT_EQ(mkfifo(dir.str("fifo").c_str(), 0600), 0);
  dir.writeFile("real.json", "mine");
  fs::create_symlink(dir.path() / "real.json", dir.path() / "link.json");
  for (const std::string& database :
       {std::string("/dev/null"), std::string("/dev/stdout"), dir.str("fifo"), dir.str("link.json")}) {
    const LimitedResult result = convert({"-cdb", database});
    EXPECT_EQ(result.exitCode, 1) << database;
    EXPECT_EQ(lines(result.out), "Not a regular file, not replaced: " + database + "\n");
  }
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.json"));
  EXPECT_EQ(readFile(dir.path() / "real.json"), "mine");
  EXPECT_EQ(readFile(dir.path() / "out/App.prj"), earlier);
  EXPECT_FALSE(fs::exists("/dev/null.tmp"));
}

// One line saying so, and the earlier result as it was. AddressSanitizer
// reserves more address space than any such limit allows.
TEST_F(HostileLimits, RunningOutOfMemoryIsSaidInOneLine) {
  if (kSanitized) GTEST_SKIP() << "an address space limit stops AddressSanitizer itself";
  ASSERT_EQ(convert({}).exitCode, 0);
  const auto earlier = readFile(dir.path() / "out/App.prj");
  {
    // One line of 96 MB: holding it needs more than the limit below.
    std::ofstream out(dir.path() / "ws/App/.wrproject", std::ios::binary);
    const std::string piece(1 << 20, 'x');
    for (int i = 0; i < 96; ++i) out << piece;
  }
  Limits limits = quick();
  limits.addressSpaceBytes = 96LL << 20;
  const LimitedResult result = convert({}, limits);
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(lines(result.out), "Out of memory while reading the build description\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(readFile(dir.path() / "out/App.prj"), earlier);
}

}  // namespace
