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

// Loops stay as written, and so does a reference that would grow a text
// past its bound: a megabyte build macro named 600 times in one define would
// otherwise make a 600 MB personality.
TEST_F(RealProjectLimits, VariablesThatReferToThemselvesOrGrowTooLongStayAsWritten) {
  std::string huge;
  for (int i = 0; i < 600; ++i) huge += "$(BIG)";
  {
    std::ofstream out = settings();
    out << "<stringAttribute key=\"BLD::Info|Macro|B|value\" value=\"$(C)\"/>\n"
        << "<stringAttribute key=\"BLD::Info|Macro|C|value\" value=\"$(B)\"/>\n"
        << "<stringAttribute key=\"BLD::Info|Macro|BIG|value\" value=\"" << std::string(1 << 20, 'b')
        << "\"/>\n"
        << "<listAttribute key=\"BLD::Info|Incl|\">\n"
        << "<stringAttribute value=\"-I/$(A)/$(B)/$(C)\"/>\n</listAttribute>\n"
        << "<listAttribute key=\"BLD::Info|Definess|\">\n"
        << "<stringAttribute value=\"-DHUGE=" << huge << "\"/>\n</listAttribute>\n";
  }
  const LimitedResult result = convert({"-var", "A=$(A)"});
  ASSERT_EQ(result.exitCode, 0) << result.out.substr(0, 2000);
  const std::string text = analyser();
  EXPECT_TRUE(text.starts_with("-i \"/$(A)/$(B)/$(C)\"\r\n"));
  EXPECT_LT(text.size(), std::size_t{5} << 20);
  EXPECT_TRUE(text.ends_with("$(BIG)$(BIG)\"\r\n"));
  for (const char* warning :
       {"Warning: variable A refers to itself, left as written in 1 include path\n",
        "Warning: variable B refers to itself, left as written in 1 include path\n",
        "Warning: variable C refers to itself, left as written in 1 include path\n",
        "Warning: variable BIG would grow a text past 4 MB (or all texts past 256 MB), left as "
        "written in 1 macro value\n"}) {
    EXPECT_NE(result.out.find(warning), std::string::npos) << warning;
  }
}

// A ten-megabyte recipe after the command that compiles, of what would make
// a careless reader go back or nest without end (unclosed substitutions and
// quotes, compounds never closed, redirections): read once, the compiler's
// macros and includes whole, with the database.
TEST_F(RealProjectLimits, ATenMegabyteRecipeIsReadOnce) {
  const char* units[] = {"$(", "$$(", "if ", "( ", "{ ", "case x in ", "x&gt;", "&amp;&amp; ",
                         "`", "&quot;", "'"};
  std::string rest;
  for (std::size_t i = 0; i < std::size(units); ++i) {
    while (rest.size() < (std::size_t{10} << 20) / std::size(units) * (i + 1)) rest += units[i];
  }
  {
    std::ofstream out = settings();
    out << "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"cc -DOK -I/ok %Defines% "
           "-c %InFile% &amp;&amp; "
        << rest << "\"/>\n"
        << "<listAttribute key=\"BLD::Info|Definess|\">\n<stringAttribute value=\"-DLISTED\"/>\n"
           "</listAttribute>\n";
  }
  const LimitedResult result = convert({"-cdb", "cc.json"});
  ASSERT_EQ(result.exitCode, 0) << result.out.substr(0, 2000);
  EXPECT_EQ(analyser(), "-i \"/ok\"\r\n-d \"LISTED\"\r\n-d \"OK\"\r\n");
  EXPECT_NE(readFile(dir.path() / "cc.json").find("\"-c\", \""), std::string::npos);
}

}  // namespace
