// A destination that fills up or turns read-only part-way through a second
// conversion: the run names what it could not write and ends with exit status
// 1, and every file of the first conversion stays as it was.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include "conversion_fixture.h"
#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::string lastLine(std::string out) {
  if (!out.empty() && out.back() == '\n') out.pop_back();
  const std::size_t start = out.rfind('\n');
  return start == std::string::npos ? out : out.substr(start + 1);
}

class Destination : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("out");
    dir.writeFile("ws/main.c", "");
    dir.writeFile("ws/Lib/lib.c", "");
    describe({"Lib"}, "<listAttribute key=\"BLD::Info|Incl|gnu\">\n"
                      "<stringAttribute value=\"-I/inc\"/>\n</listAttribute>\n");
  }
  void describe(const std::vector<std::string>& projects, const std::string& moreSettings) {
    std::string project = "<projectDescription><name>App</name><projects>";
    std::string settings = "<subprojects>\n";
    for (const auto& name : projects) {
      project += "<project>" + name + "</project>";
      settings += "<subproject project=\"/" + name + "\"/>\n";
    }
    dir.writeFile("proj/.project", project + "</projects></projectDescription>");
    dir.writeFile("proj/.wrproject", settings + "</subprojects>\n" + moreSettings);
  }
  LimitedResult convert(const Limits& limits = {}, const std::vector<std::string>& options = {}) {
    std::vector<std::string> args{"proj/.project", "proj/.wrproject", dir.str("ws"), "out"};
    args.insert(args.end(), options.begin(), options.end());
    return runLimited(args, dir.str(), limits);
  }
  // Converts once with no limit and keeps what that left in the destination.
  void convertFirst() {
    ASSERT_EQ(convert().exitCode, 0);
    earlier = filesBelow(dir.path() / "out");
    ASSERT_EQ(earlier.count("App.prj"), 1u);
  }
  // The second run failed with `message` and left the first run's files, and
  // no other file, behind.
  void expectFailedAndKept(const LimitedResult& result, const std::string& message) {
    EXPECT_EQ(result.exitCode, 1) << result.out << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(lastLine(result.out), message) << result.out;
    EXPECT_EQ(filesBelow(dir.path() / "out"), earlier);
  }
  std::string out(const std::string& relative) { return dir.str() + "/out/" + relative; }

  TempDir dir;
  std::map<std::string, std::string> earlier;
};

// A file size limit makes a write fail part-way, with EFBIG, just as a full
// disk makes it fail with ENOSPC: the converter sees the same failed write.
TEST_F(Destination, AProjectFileThatCannotBeWrittenToTheEnd) {
  convertFirst();
  for (int i = 0; i < 400; ++i) dir.writeFile("ws/source_file_" + std::to_string(i) + ".c", "");
  expectFailedAndKept(convert({.fileSizeBytes = 16 * 1024}), "Could not write file: " + out("App.prj"));
}

TEST_F(Destination, AnAnalyserPersonalityThatCannotBeWrittenToTheEnd) {
  convertFirst();
  std::string includes = "<listAttribute key=\"BLD::Info|Incl|gnu\">\n";
  for (int i = 0; i < 400; ++i) includes += "<stringAttribute value=\"-I/include/folder/" + std::to_string(i) + "\"/>\n";
  describe({"Lib"}, includes + "</listAttribute>\n");
  expectFailedAndKept(convert({.fileSizeBytes = 8 * 1024}),
                      "Could not write file: " + out("person/App.p_a"));
}

// Permissions stop root, so as root the converter runs as another user.
TEST_F(Destination, AGroupFolderInAFolderTurnedReadOnly) {
  if (const std::string why = whyNoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  convertFirst();
  dir.writeFile("ws/Drivers/uart.c", "");
  describe({"Lib", "Drivers"}, "");
  handToUnprivilegedUser(dir.path());
  fs::permissions(dir.path() / "out" / "App", fs::perms::owner_read | fs::perms::owner_exec);
  expectFailedAndKept(convert({.unprivileged = true}),
                      "Could not create directory: " + out("App/Drivers"));
}

TEST_F(Destination, APersonFolderTurnedReadOnly) {
  if (const std::string why = whyNoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  convertFirst();
  handToUnprivilegedUser(dir.path());
  fs::permissions(dir.path() / "out" / "person", fs::perms::owner_read | fs::perms::owner_exec);
  expectFailedAndKept(convert({.unprivileged = true}),
                      "Could not write file: " + out("person/App.p_s"));
}

// The database goes into the same commit: when its folder refuses it, the
// project is not replaced either.
TEST_F(Destination, ACompilationDatabaseInAFolderTurnedReadOnly) {
  if (const std::string why = whyNoUnprivilegedUser(); !why.empty()) GTEST_SKIP() << why;
  dir.makeFolder("db");
  const std::vector<std::string> options{"-cdb", "db/compile_commands.json"};
  ASSERT_EQ(convert({}, options).exitCode, 0);
  earlier = filesBelow(dir.path() / "out");
  const std::string database = readFile(dir.path() / "db" / "compile_commands.json");
  dir.writeFile("ws/more.c", "");
  handToUnprivilegedUser(dir.path());
  fs::permissions(dir.path() / "db", fs::perms::owner_read | fs::perms::owner_exec);
  expectFailedAndKept(convert({.unprivileged = true}, options),
                      "Could not write file: " + dir.str() + "/db/compile_commands.json");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "db"), fs::directory_iterator()), 1)
      << "a temporary file was left beside the database";
  EXPECT_EQ(readFile(dir.path() / "db" / "compile_commands.json"), database);
}

// A real full device: a small tmpfs over the destination, in a mount
// namespace of this test process's own, filled up after the first run.
TEST_F(Destination, ATmpfsThatFillsUp) {
  const fs::path target = dir.path() / "out";
  if (unshare(CLONE_NEWNS) != 0 ||
      mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      mount("tmpfs", target.c_str(), "tmpfs", 0, "size=256k,mode=0777") != 0) {
    GTEST_SKIP() << "no right to mount a tmpfs here (" << std::strerror(errno)
                 << "); the file size limit test above makes the same write fail";
  }
  describe({"Lib"}, "");  // no analyser personality: only the project file grows
  convertFirst();
  // Fill the device, then free two pages: less than the new project file needs.
  {
    const int fd = open((target / "filler").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const std::string block(4096, 'f');
    off_t size = 0;
    while (write(fd, block.data(), block.size()) == static_cast<ssize_t>(block.size())) size += 4096;
    ASSERT_EQ(errno, ENOSPC);
    ASSERT_EQ(ftruncate(fd, size - 2 * 4096), 0);
    close(fd);
  }
  earlier = filesBelow(target);
  for (int i = 0; i < 400; ++i) dir.writeFile("ws/source_file_" + std::to_string(i) + ".c", "");
  expectFailedAndKept(convert(), "Could not write file: " + out("App.prj"));
  umount2(target.c_str(), MNT_DETACH);
}

}  // namespace
