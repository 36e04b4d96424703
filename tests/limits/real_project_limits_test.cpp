// The real-project mode on build descriptions far beyond real ones: ten
// thousand build specs, a hundred thousand defines, a megabyte value,
// variables that name themselves. Each run finishes with a sound result or
// a clear message.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

class RealProjectLimits : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("out");
    dir.writeFile("ws/App/.project",
                  "<projectDescription><name>App</name><projects></projects></projectDescription>");
    dir.writeFile("ws/App/main.c", "");
  }
  std::ofstream settings() { return std::ofstream(dir.path() / "ws/App/.wrproject", std::ios::binary); }
  LimitedResult convert(std::vector<std::string> options) {
    std::vector<std::string> args{"ws/App/.project", "ws/App/.wrproject", "ws", "out", "-wb"};
    args.insert(args.end(), options.begin(), options.end());
    Limits limits;
    limits.timeoutSeconds = 60;
    return runLimited(args, dir.str(), limits);
  }
  std::string analyser() { return readFile(dir.path() / "out/person/App.p_a"); }

  TempDir dir;
};

TEST_F(RealProjectLimits, TenThousandSpecs) {
  {
    std::ofstream out = settings();
    out << "<listAttribute key=\"BLD::Info|specs\">\n";
    for (int i = 0; i < 10000; ++i) out << "<stringAttribute value=\"spec" << i << "\"/>\n";
    out << "</listAttribute>\n";
    for (int i = 0; i < 10000; ++i) {
      out << "<listAttribute key=\"BLD::Info|Incl|spec" << i << "\">\n"
          << "<stringAttribute value=\"-I/inc/" << i << "\"/>\n</listAttribute>\n";
    }
  }
  LimitedResult result = convert({"-spec", "spec9999"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(analyser(), "-i \"/inc/9999\"\r\n");
  result = convert({"-spec", "nospec"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.out, "Unknown build spec: nospec (known: spec0, spec1, spec2, spec3, spec4, "
                        "spec5, spec6, spec7, spec8, spec9, spec10, spec11, spec12, spec13, "
                        "spec14, spec15, spec16, spec17, spec18, spec19 and 9980 more)\n");
}

TEST_F(RealProjectLimits, AHundredThousandDefinesAndAMegabyteValue) {
  const std::string big(1024 * 1024, 'v');
  {
    std::ofstream out = settings();
    out << "<listAttribute key=\"BLD::Info|Definess|\">\n";
    for (int i = 0; i < 100000; ++i) out << "<stringAttribute value=\"-DD" << i << "=" << i << "\"/>\n";
    out << "<stringAttribute value=\"-DBIG=" << big << "\"/>\n</listAttribute>\n"
        << "<listAttribute key=\"BLD::Info|Incl|\">\n<stringAttribute value=\"-I/" << big
        << "\"/>\n</listAttribute>\n";
  }
  const LimitedResult result = convert({});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  const std::string text = analyser();
  EXPECT_TRUE(text.starts_with("-i \"/" + big + "\"\r\n"));
  EXPECT_NE(text.find("\r\n-d \"BIG=" + big + "\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n-d \"D99999=99999\"\r\n"), std::string::npos);
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 100002u);
}

TEST_F(RealProjectLimits, VariablesThatNameThemselvesOrEachOtherAreExpandedOnce) {
  {
    std::ofstream out = settings();
    out << "<stringAttribute key=\"BLD::Info|Macro|B|value\" value=\"$(C)\"/>\n"
        << "<stringAttribute key=\"BLD::Info|Macro|C|value\" value=\"$(B)\"/>\n"
        << "<listAttribute key=\"BLD::Info|Incl|\">\n"
        << "<stringAttribute value=\"-I/$(A)/$(B)/$(C)\"/>\n</listAttribute>\n";
  }
  const LimitedResult result = convert({"-var", "A=$(A)"});
  ASSERT_EQ(result.exitCode, 0) << result.out;
  EXPECT_EQ(analyser(), "-i \"/$(A)/$(C)/$(B)\"\r\n");
}

}  // namespace
