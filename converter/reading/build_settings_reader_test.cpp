#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace {

using Strings = std::vector<std::string>;
using Macros = std::map<std::string, std::string>;
constexpr char sep = platform::separator;

std::string subprojects(const Strings& paths) {
  std::string text = "<subprojects>\n";
  for (const auto& path : paths) text += "  <subproject project=\"" + path + "\"/>\n";
  return text + "</subprojects>\n";
}

std::string includes(const Strings& values) {
  std::string text = "<listAttribute key=\"BLD::Info|Incl|PPC32gnu\">\n";
  for (const auto& value : values) text += "  <stringAttribute value=\"" + value + "\"/>\n";
  return text + "</listAttribute>\n";
}

std::string macro(const std::string& name, const std::string& value) {
  return "<stringAttribute key=\"BLD::Info|Macro|" + name + "|value\" value=\"" + value + "\"/>\n";
}

std::string globalMacro(const std::string& name, const std::string& value) {
  return "<stringAttribute key=\"BLD::Info|GlobalMacro|" + name + "\" value=\"" + value + "\"/>\n";
}

std::string compiler(const std::string& command) {
  return "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"" + command + "\"/>\n";
}

class BuildSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.writeFile("ws/top.c", "");
    dir.writeFile("ws/Lib/lib.c", "");
    dir.writeFile("ws/LibExtra/extra.c", "");
    dir.writeFile("ws/Drv/src/d.c", "");
    job.workspaceDir = dir.str("ws");
  }
  bool read(const std::string& content) {
    dir.writeFile("ws/.wrproject", content);
    job.buildSettingsPath = dir.str("ws/.wrproject");
    return job.readBuildSettings();
  }
  std::string ws(const std::string& tail = "") const { return job.workspaceDir + tail; }
  FileGroup& root() { return *job.rootGroup; }
  Strings groupNames() {
    Strings names;
    for (const auto& group : root().subGroups) names.push_back(group->name);
    return names;
  }

  TempDir dir;
  ConversionJob job{"p", "w", "ws", "d"};
};

TEST_F(BuildSettingsTest, MissingFileIsReported) {
  job.buildSettingsPath = dir.str("none.wrproject");
  testing::internal::CaptureStdout();
  EXPECT_FALSE(job.readBuildSettings());
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Could not open file: " + dir.str("none.wrproject") + "\n");
}

TEST_F(BuildSettingsTest, WithoutSubprojectListTheRootHasNoFiles) {
  EXPECT_TRUE(read(macro("CPU", "PPC32")));
  EXPECT_TRUE(root().files.empty());
  EXPECT_TRUE(read(""));
  EXPECT_TRUE(root().files.empty());
}

TEST_F(BuildSettingsTest, SubprojectsMatchReferencedNamesAsSubstrings) {
  job.referencedProjects = {"Lib", "LibExtra", "Other"};
  job.fileExtensions = {"c"};
  ASSERT_TRUE(read(subprojects({"/LibExtra", "/Unknown"})));
  EXPECT_EQ(root().files, (Strings{ws(sep + std::string("top.c"))}));
  EXPECT_EQ(groupNames(), (Strings{"Lib", "LibExtra"}));
  for (const auto& group : root().subGroups) {
    EXPECT_EQ(group->files, (Strings{ws(sep + std::string("LibExtra") + sep + "extra.c")}));
    EXPECT_TRUE(group->includePaths.empty());
  }
}

TEST_F(BuildSettingsTest, ProjectIncludesUseTheFolderOfTheLatestEntryReadSoFar) {
  job.referencedProjects = {"Lib"};
  ASSERT_TRUE(read(includes({"-I%Proj-Lib%/h"}) + subprojects({"/Lib", "/LibExtra"}) +
                   includes({"-I%Proj-Lib%/h", "-I%Proj-App%/h", "-I$(BASE)/h", "-I", "",
                             "-isystem$(VSB_DIR)/krnl/h", "-I%Proj-Lib%"})));
  EXPECT_EQ(groupNames(), (Strings{"Lib", "Lib"}));
  EXPECT_EQ(root().includePaths, (Strings{
                                     ws(sep + std::string("Lib/h")),
                                     ws(sep + std::string("LibExtra/h")),
                                     ws(sep + std::string("App/h")),
                                     "$(BASE)/h",
                                     "",
                                     "",
                                     "$(VSB_DIR)/krnl/h",
                                     ws(sep + std::string("LibExtra")),
                                 }));
}

TEST_F(BuildSettingsTest, CompilerDefinitionsWithBuildMacros) {
  ASSERT_TRUE(read(macro("CPU", "PPC32") + globalMacro("DEBUG", "") +
                   compiler("cc -DFOO -DBAR=2 -D$(CPU) -DDBG=$(DEBUG) -DTOOL=$(TOOL) -D $(X)")));
  EXPECT_EQ(root().macros, (Macros{{"BAR", "2"}, {"CPU", "PPC32"}, {"DBG", "1"},
                                   {"FOO", ""}, {"TOOL", ""}}));
}

TEST_F(BuildSettingsTest, UnknownReferenceAndMacroAfterTheCommand) {
  ASSERT_TRUE(read(compiler("cc -DFOO -DBAR=2 -D$(CPU) -DCPU2=$(CPU)") + macro("CPU", "PPC32")));
  EXPECT_EQ(root().macros, (Macros{{"BAR", "2"}, {"CPU", ""}, {"CPU2", ""}, {"FOO", ""}}));
}

TEST_F(BuildSettingsTest, DefinesPassComesLastAndWins) {
  ASSERT_TRUE(read(macro("DEFINES", "-DA=defines -DB -DC=$(X)") +
                   compiler("cc -DA=command -DA=again -DD $(DEFINES)")));
  EXPECT_EQ(root().macros, (Macros{{"A", "defines"}, {"B", ""}, {"C", "$(X)"}, {"D", ""}}));
}

TEST_F(BuildSettingsTest, OnlyTheCCompilerCommandIsRead) {
  ASSERT_TRUE(read("<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd\" value=\"-DCXX\"/>\n" +
                   compiler("cc -DC")));
  EXPECT_EQ(root().macros, (Macros{{"C", ""}}));
}

TEST_F(BuildSettingsTest, CarriageReturnsBelongToTheLineBreak) {
  job.referencedProjects = {"Lib"};
  ASSERT_TRUE(read("<subprojects>\r\n<subproject project=\"/Lib\"/>\r\n</subprojects>\r\n" +
                   std::string("<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" "
                               "value=\"cc -DX=1\"/>\r\n")));
  EXPECT_EQ(groupNames(), (Strings{"Lib"}));
  EXPECT_EQ(root().macros, (Macros{{"X", "1"}}));
}

TEST_F(BuildSettingsTest, BrokenLinesAreSkipped) {
  job.referencedProjects = {"Lib"};
  ASSERT_TRUE(read("<subprojects>\n"
                   "<subproject project=\"\n"
                   "no marker at all\n"
                   "<subproject project=\"/Lib\"/>\n"
                   "</subprojects>\n" +
                   includes({}) +
                   "<listAttribute key=\"BLD::Info|Incl|x\">\n"
                   "<stringAttribute value=\"\n"
                   "<stringAttribute other=\"-Ix\"/>\n"
                   "</listAttribute>\n"
                   "<stringAttribute key=\"BLD::Info|Macro|NOVALUE|value\"/>\n"
                   "<stringAttribute key=\"BLD::Info|Macro|\n"
                   "<stringAttribute key=\"BLD::Info|GlobalMacro|\n"
                   "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\n"
                   "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"-D$( -D -D$(NOVALUE)\"/>\n"));
  EXPECT_EQ(groupNames(), (Strings{"Lib"}));
  EXPECT_TRUE(root().includePaths.empty());
  EXPECT_EQ(root().macros, (Macros{{"NOVALUE", ""}}));
}

TEST_F(BuildSettingsTest, EndOfFileInsideABlockKeepsWhatWasRead) {
  job.referencedProjects = {"Lib"};
  job.fileExtensions = {"c"};
  ASSERT_TRUE(read(includes({"-Ia"}) + "<subprojects>\n<subproject project=\"/Lib\"/>\n"));
  EXPECT_EQ(groupNames(), (Strings{"Lib"}));
  EXPECT_EQ(root().includePaths, (Strings{"a"}));
  EXPECT_EQ(root().files.size(), 1u);
}

TEST_F(BuildSettingsTest, WorkspaceWithTrailingSeparatorDoublesIt) {
  job.referencedProjects = {"Lib"};
  job.workspaceDir += sep;
  job.fileExtensions = {"c"};
  ASSERT_TRUE(read(subprojects({"/Lib"}) + includes({"-I%Proj-Lib%/h"})));
  EXPECT_EQ(root().includePaths, (Strings{ws(sep + std::string("Lib/h"))}));
  EXPECT_EQ(root().files.size(), 1u);
  EXPECT_EQ(root().files[0], ws(sep + std::string("top.c")));
}

TEST_F(BuildSettingsTest, MarkersAfterOtherKeysAndSeveralOnOneLine) {
  ASSERT_TRUE(read(
      "<x key=\"BLD::Info|Other\"/><stringAttribute key=\"BLD::Info|GlobalMacro|DEBUG\" "
      "value=\"\"/>\n"
      "<x key=\"BLD::Info|Other\"/><listAttribute key=\"BLD::Info|Incl|x\">\n"
      "<stringAttribute value=\"-Ia\"/>\n</listAttribute>\n"
      // The macro entry is read before the command on its line, and the
      // command runs from the line's first "value=" to its last quote.
      "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd\" value=\"cc -DD=$(DEBUG) "
      "-DX=$(CPU)\"/><stringAttribute key=\"BLD::Info|Macro|CPU|value\" value=\"PPC\"/>\n"));
  EXPECT_EQ(root().includePaths, (Strings{"a"}));
  EXPECT_EQ(root().macros, (Macros{{"D", "1"}, {"X", "PPC\"/><stringAttribute"}}));
}

TEST_F(BuildSettingsTest, ClosingLineOfABlockIsExaminedByTheLaterRecognisers) {
  job.referencedProjects = {"Drv"};
  ASSERT_TRUE(read("<subprojects>\n<subproject project=\"/Drv\"/>\n</subprojects>" +
                   compiler("cc -DONE") + "/subprojects\n</subprojects>\n"));
  EXPECT_EQ(root().macros, (Macros{{"ONE", ""}}));
  // "/subprojects" outside a list opens a new one, which scans the root again.
  EXPECT_EQ(root().files.size(), 4u);
}

}  // namespace
