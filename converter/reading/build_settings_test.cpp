#include "reading/build_settings.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

// A statement with its texts copied.
struct OwnedBuildStatement {
  BuildStatement::Kind kind;
  std::string key, text, value;
  bool operator==(const OwnedBuildStatement&) const = default;
};

// Readable failures: the statement's kind and its three texts.
void PrintTo(const OwnedBuildStatement& statement, std::ostream* out) {
  *out << "{" << statement.kind << ", \"" << statement.key << "\", \"" << statement.text
       << "\", \"" << statement.value << "\"}";
}

namespace {

// Every statement of `text`, keys included.
std::vector<OwnedBuildStatement> parseBuildSettings(std::string_view text) {
  std::istringstream in{std::string(text)};
  BuildSettingsReader reader(in, true);
  std::vector<OwnedBuildStatement> statements;
  BuildStatement statement;
  while (reader.next(statement)) {
    statements.push_back({statement.kind, std::string(statement.key), std::string(statement.text),
                          std::string(statement.value)});
  }
  return statements;
}

using S = OwnedBuildStatement;
using Statements = std::vector<OwnedBuildStatement>;
constexpr auto List = BuildStatement::SubprojectList;
constexpr auto Sub = BuildStatement::Subproject;
constexpr auto Inc = BuildStatement::Include;
constexpr auto Macro = BuildStatement::BuildMacro;
constexpr auto Cmd = BuildStatement::CompilerCommand;

TEST(BuildSettingsReader, SaysWhatTheFileSaysInItsOrder) {
  EXPECT_EQ(parseBuildSettings(
                "<wrxml>\n"
                "<stringAttribute key=\"BLD::Info|Macro|CPU|value|PPC32gnu\" value=\"PPC32\"/>\n"
                "<subprojects>\n"
                "  <subproject project=\"/Lib\"/>\n"
                "</subprojects>\n"
                "<listAttribute key=\"BLD::Info|Incl|PPC32gnu\">\n"
                "  <stringAttribute value=\"-I%Proj-Lib%/h\"/>\n"
                "  <stringAttribute value=\"-isystem$(WIND_BASE)/h\"/>\n"
                "</listAttribute>\n"
                "<stringAttribute key=\"BLD::Info|GlobalMacro|DEBUG\" value=\"\"/>\n"
                "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd|PPC32gnu\" value=\"cc -DA\"/>\n"
                "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd\" value=\"-DCXX\"/>\n"),
            (Statements{S{Macro, "Macro|CPU|value|PPC32gnu", "CPU", "PPC32"},
                        S{List, "", "", ""},
                        S{Sub, "", "Lib", ""},
                        S{Inc, "Incl|PPC32gnu", "-I%Proj-Lib%/h", ""},
                        S{Inc, "Incl|PPC32gnu", "-isystem$(WIND_BASE)/h", ""},
                        S{Macro, "GlobalMacro|DEBUG", "DEBUG", ""},
                        S{Cmd, "Tool|C-Compiler|cmd|PPC32gnu", "cc -DA", ""}}));
}

TEST(BuildSettingsReader, ByteOrderMarkAndCarriageReturns) {
  EXPECT_EQ(parseBuildSettings("\xEF\xBB\xBF<subprojects>\r\n<subproject project=\"/Lib\"/>\r\n"
                               "</subprojects>\r\n"),
            (Statements{S{List, "", "", ""}, S{Sub, "", "Lib", ""}}));
  // Only a whole mark is passed over.
  EXPECT_EQ(parseBuildSettings("\xEF\xBBsubprojects\nx\n"), (Statements{S{List, "", "", ""}}));
}

TEST(BuildSettingsReader, ValuesComeAsWritten) {
  EXPECT_EQ(parseBuildSettings("<listAttribute key=\"BLD::Info|Incl|x\">\n"
                               "<stringAttribute value=\"-I\"/>\n"
                               "<stringAttribute value=\"\"/>\n"
                               "<stringAttribute value=\"XYabc\"/>\n"
                               "<stringAttribute value=\"-Ia%Proj-b\"/>\n"
                               "</listAttribute>\n"),
            (Statements{S{Inc, "Incl|x", "-I", ""}, S{Inc, "Incl|x", "", ""},
                        S{Inc, "Incl|x", "XYabc", ""}, S{Inc, "Incl|x", "-Ia%Proj-b", ""}}));
  // A command's attribute without its opening quote is given from its name on.
  const std::string command = "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" ";
  EXPECT_EQ(parseBuildSettings(command + "value=cc\"/>\n" + command + "value=\"\"/>\n"),
            (Statements{S{Cmd, "Tool|C-Compiler|cmd", "value=cc", ""},
                        S{Cmd, "Tool|C-Compiler|cmd", "", ""}}));
}

TEST(BuildSettingsReader, BrokenLinesAreSkipped) {
  EXPECT_EQ(parseBuildSettings(
                "<subprojects>\n"
                "<subproject project=\"\n"
                "no marker at all\n"
                "<subproject project=\"/Lib\"/>\n"
                "</subprojects>\n"
                "<listAttribute key=\"BLD::Info|Incl|x\">\n"
                "<stringAttribute value=\"\n"
                "<stringAttribute other=\"-Ix\"/>\n"
                "</listAttribute>\n"
                "<stringAttribute key=\"BLD::Info|Macro|NOVALUE|value\"/>\n"
                "<stringAttribute key=\"BLD::Info|Macro|\n"
                "<stringAttribute key=\"BLD::Info|GlobalMacro|\n"
                "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\n"),
            (Statements{S{List, "", "", ""}, S{Sub, "", "Lib", ""}}));
}

TEST(BuildSettingsReader, TheEndOfTheFileInsideAListEndsTheReading) {
  EXPECT_EQ(parseBuildSettings("<listAttribute key=\"BLD::Info|Incl|x\">\n"
                               "<stringAttribute value=\"-Ia\"/>\n"),
            (Statements{S{Inc, "Incl|x", "-Ia", ""}}));
  EXPECT_EQ(parseBuildSettings("<subprojects>\n<subproject project=\"/Lib\"/>"),
            (Statements{S{List, "", "", ""}, S{Sub, "", "Lib", ""}}));
  // The list opens only with a line after its first one.
  EXPECT_EQ(parseBuildSettings("x\n<subprojects>"), Statements{});
}

TEST(BuildSettingsReader, ClosingLinesGoOnToTheLaterRecognisers) {
  const std::string cmd = "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"-DX\"/>";
  EXPECT_EQ(parseBuildSettings("<subprojects>\n</subprojects><listAttribute "
                               "key=\"BLD::Info|Incl|x\">\n<stringAttribute value=\"-Ia\"/>\n"
                               "</listAttribute>" + cmd + "\n"),
            (Statements{S{List, "", "", ""}, S{Inc, "Incl|x", "-Ia", ""},
                        S{Cmd, "Tool|C-Compiler|cmd", "-DX", ""}}));
  // An include list's closing line opens no sub-project list and no new include list.
  EXPECT_EQ(parseBuildSettings("<listAttribute key=\"BLD::Info|Incl|x\">\n</listAttribute>"
                               "subprojects<listAttribute key=\"BLD::Info|Incl|y\">\nz\n"),
            Statements{});
  // "/subprojects" outside a list opens a new one.
  EXPECT_EQ(parseBuildSettings("/subprojects\nx\n</subprojects>\n"), (Statements{S{List, "", "", ""}}));
}

// An empty list is one element that closes itself; its block ends there
// instead of running on to the next list's closing line.
TEST(BuildSettingsReader, AListThatClosesItselfEndsAtOnce) {
  const std::string macro = "<stringAttribute key=\"BLD::Info|Macro|M|value\" value=\"m\"/>";
  EXPECT_EQ(parseBuildSettings("<listAttribute key=\"BLD::Info|Incl|S\"/>\n"
                               "<listAttribute key=\"BLD::Info|Definess|S\">\n"
                               "<stringAttribute value=\"-DU\"/>\n</listAttribute>\n"
                               "<subprojects />\n"
                               "<listAttribute key=\"BLD::Info|Incl|T\">\n"
                               "<stringAttribute value=\"-Ib\"/>\n</listAttribute>\n"
                               "<listAttribute key=\"BLD::Info|Incl|U\"/>" + macro + "\n"),
            (Statements{S{List, "", "", ""}, S{Inc, "Incl|T", "-Ib", ""},
                        S{Macro, "Macro|M|value", "M", "m"}}));
}

TEST(BuildSettingsReader, SeveralEntriesOnOneLineComeInTheirFixedOrder) {
  EXPECT_EQ(parseBuildSettings(
                "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"cc -DX=$(CPU)\"/>"
                "<x key=\"BLD::Info|Other\"/><stringAttribute key=\"BLD::Info|GlobalMacro|G\" "
                "value=\"g\"/><stringAttribute key=\"BLD::Info|Macro|CPU|value\" value=\"PPC\"/>\n"),
            (Statements{S{Macro, "Macro|CPU|value", "CPU", "PPC"},
                        S{Macro, "GlobalMacro|G", "G",
                          "g\"/><stringAttribute key=\"BLD::Info|Macro|CPU|value\" value=\"PPC"},
                        S{Cmd, "Tool|C-Compiler|cmd",
                          "cc -DX=$(CPU)\"/><x key=\"BLD::Info|Other\"/><stringAttribute "
                          "key=\"BLD::Info|GlobalMacro|G\" value=\"g\"/><stringAttribute "
                          "key=\"BLD::Info|Macro|CPU|value\" value=\"PPC",
                          ""}}));
}

}  // namespace
