// Build descriptions far larger than any real one: the run must finish, and
// its memory must follow what it keeps, not the size of the file.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr long kMegabyte = 1024 * 1024;

class BigInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("ws");
    dir.makeFolder("out");
    dir.writeFile("ws/main.c", "");
    dir.writeFile("ws/Lib/lib.c", "");
  }
  void describe(const std::vector<std::string>& projects) {
    std::string project = "<projectDescription><name>App</name><projects>";
    for (const auto& name : projects) project += "<project>" + name + "</project>";
    dir.writeFile("ws/.project", project + "</projects></projectDescription>");
  }
  LimitedResult convert() {
    return runLimited({"ws/.project", "ws/.wrproject", dir.str("ws"), "out"}, dir.str());
  }
  std::string produced(const std::string& name) { return readFile(dir.path() / "out" / name); }

  TempDir dir;
};

TEST_F(BigInputs, AHundredMegabyteBuildDescriptionInOneLine) {
  // One compiler command line, no line feed anywhere: two definitions, then
  // 100 MB of options that define nothing.
  describe({});
  {
    std::ofstream out(dir.path() / "ws" / ".wrproject", std::ios::binary);
    out << "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"cc -DKEEP=1 -DCPU=$(CPU)";
    const std::string options = std::string(" -O2 -g -Wall") + std::string(1011, 'x');
    for (long written = 0; written < 100 * kMegabyte; written += options.size()) out << options;
    out << "\"/>";
  }
  const LimitedResult result = convert();
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(produced("person/App.p_a"), "-d \"CPU\"\r\n-d \"KEEP=1\"\r\n");
  // The line must be held to be searched (its buffer grows by doubling), and
  // the command is taken out of it once: never more than three times the line.
  // AddressSanitizer's own bookkeeping would swamp the bound.
  if (!kSanitized) {
    EXPECT_LT(result.peakRssKb, 3 * 100 * 1024) << "KiB";
  }
  RecordProperty("peak_rss_kib", std::to_string(result.peakRssKb));
  RecordProperty("seconds", std::to_string(result.seconds));
}

TEST_F(BigInputs, AMillionSubprojectEntries) {
  // Two of the million entries name a referenced project; the others name
  // projects this one does not refer to, and nothing of them is kept.
  describe({"Lib", "Drivers"});
  {
    std::ofstream out(dir.path() / "ws" / ".wrproject", std::ios::binary);
    out << "<subprojects>\n";
    for (int i = 0; i < 1000000; ++i) {
      if (i == 1000 || i == 999999) out << "\t<subproject project=\"/Lib\"/>\n";
      else out << "\t<subproject project=\"/Other" << i << "\"/>\n";
    }
    out << "</subprojects>\n";
  }
  const long fileKb = static_cast<long>(fs::file_size(dir.path() / "ws" / ".wrproject") / 1024);
  const LimitedResult result = convert();
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(result.err, "");
  const std::string project = produced("App.prj");
  std::size_t groups = 0;
  for (std::size_t at = project.find("FolderName=Lib\r\n"); at != std::string::npos;
       at = project.find("FolderName=Lib\r\n", at + 1)) {
    ++groups;
  }
  EXPECT_EQ(groups, 2u);
  // Nothing of the unmatched entries stays: far less memory than the file.
  if (!kSanitized) {
    EXPECT_LT(result.peakRssKb, fileKb / 2) << "KiB, for a file of " << fileKb << " KiB";
  }
  RecordProperty("peak_rss_kib", std::to_string(result.peakRssKb));
  RecordProperty("seconds", std::to_string(result.seconds));
}

TEST_F(BigInputs, AMillionSettingsOfOneBuildMacro) {
  // The same build macro set again on every line: one value is kept.
  describe({});
  {
    std::ofstream out(dir.path() / "ws" / ".wrproject", std::ios::binary);
    const std::string filler(60, 'v');
    for (int i = 0; i < 1000000; ++i) {
      out << "<stringAttribute key=\"BLD::Info|Macro|CPU|value\" value=\"" << filler << i
          << "\"/>\n";
    }
    out << "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"cc -D$(CPU)\"/>\n";
  }
  const long fileKb = static_cast<long>(fs::file_size(dir.path() / "ws" / ".wrproject") / 1024);
  const LimitedResult result = convert();
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_EQ(produced("person/App.p_a"), "-d \"CPU=" + std::string(60, 'v') + "999999\"\r\n");
  if (!kSanitized) {
    EXPECT_LT(result.peakRssKb, fileKb / 8) << "KiB, for a file of " << fileKb << " KiB";
  }
  RecordProperty("peak_rss_kib", std::to_string(result.peakRssKb));
  RecordProperty("seconds", std::to_string(result.seconds));
}

}  // namespace
