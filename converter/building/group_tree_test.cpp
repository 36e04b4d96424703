#include "building/group_tree.h"

#include <gtest/gtest.h>
#include <sstream>

#include "fake_folders.h"
#include "text/path.h"

namespace {

using Strings = std::vector<std::string>;
using Macros = std::map<std::string, std::string>;
const std::string sep(1, path::separator());

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

// The build description read against a small workspace in memory.
class GroupTree : public ::testing::Test {
 protected:
  GroupTree() {
    for (const char* file :
         {"ws/top.c", "ws/.wrproject", "ws/Lib/lib.c", "ws/LibExtra/extra.c", "ws/Drv/src/d.c"}) {
      folders.file(file);
    }
  }
  void read(const std::string& content) {
    std::istringstream in(content);
    buildGroupTree(in, root, workspace, referenced, FolderScan{folders.lister(), extensions});
  }
  std::string ws(const std::string& tail = "") const { return workspace + tail; }
  Strings groupNames() const {
    Strings names;
    for (const auto& group : root.subGroups) names.push_back(group->name);
    return names;
  }

  FakeFolders folders;
  std::string workspace = "ws";
  Strings referenced;
  Strings extensions;
  FileGroup root;
};

TEST_F(GroupTree, WithoutSubprojectListTheRootHasNoFiles) {
  read(macro("CPU", "PPC32"));
  read("");
  EXPECT_TRUE(root.files.empty());
}

TEST_F(GroupTree, SubprojectsMatchReferencedNamesAsSubstrings) {
  referenced = {"Lib", "LibExtra", "Other"};
  extensions = {"c"};
  read(subprojects({"/LibExtra", "/Unknown"}));
  EXPECT_EQ(root.files, (Strings{ws(sep + "top.c")}));
  EXPECT_EQ(groupNames(), (Strings{"Lib", "LibExtra"}));
  for (const auto& group : root.subGroups) {
    EXPECT_EQ(group->files, (Strings{ws(sep + "LibExtra" + sep + "extra.c")}));
    EXPECT_TRUE(group->includePaths.empty());
  }
}

TEST_F(GroupTree, SubFoldersOfAProjectBecomeGroupsButTheWorkspaceIsNotDescended) {
  referenced = {"Drv"};
  read(subprojects({"/Drv"}));
  EXPECT_EQ(root.files, (Strings{ws(sep + ".wrproject"), ws(sep + "top.c")}));
  ASSERT_EQ(groupNames(), (Strings{"Drv"}));
  ASSERT_EQ(root.subGroups[0]->subGroups.size(), 1u);
  EXPECT_EQ(root.subGroups[0]->subGroups[0]->files,
            (Strings{ws(sep + "Drv" + sep + "src" + sep + "d.c")}));
}

TEST_F(GroupTree, APathClimbingOutOfTheWorkspaceIsNotScanned) {
  referenced = {"Lib"};
  folders.file("outside.c");
  read(subprojects({"/Lib/../..", "/Lib\\..\\.."}));
  ASSERT_EQ(groupNames(), (Strings{"Lib", "Lib"}));
  EXPECT_TRUE(root.subGroups[0]->files.empty());
  EXPECT_TRUE(root.subGroups[1]->files.empty());
}

TEST_F(GroupTree, APathWithParentPartsThatStaysInsideIsScanned) {
  referenced = {"Lib"};
  folders.file("ws/Lib/../Lib/lib.c");  // the fake lister takes paths as written
  // In the system's own spelling, as the fake lister lists the folder.
  read(subprojects({sep + "Lib" + sep + ".." + sep + "Lib"}));
  ASSERT_EQ(groupNames(), (Strings{"Lib"}));
  EXPECT_EQ(root.subGroups[0]->files, (Strings{ws(FakeFolders::native("/Lib/../Lib/lib.c"))}));
}

TEST_F(GroupTree, ProjectIncludesUseTheFolderOfTheLatestEntryReadSoFar) {
  referenced = {"Lib"};
  read(includes({"-I%Proj-Lib%/h"}) + subprojects({"/Lib", "/LibExtra"}) +
       includes({"-I%Proj-Lib%/h", "-I%Proj-App%/h", "-I$(BASE)/h", "-I", "",
                 "-isystem$(VSB_DIR)/krnl/h", "-I%Proj-Lib%", "XYabc", "-Ia%Proj-b"}));
  EXPECT_EQ(groupNames(), (Strings{"Lib", "Lib"}));
  // Any two letters are taken for the option, and %Proj- anywhere drops six
  // letters from the front.
  EXPECT_EQ(root.includePaths, (Strings{ws(sep + "Lib/h"), ws(sep + "LibExtra/h"),
                                        ws(sep + "App/h"), "$(BASE)/h", "", "",
                                        "$(VSB_DIR)/krnl/h", ws(sep + "LibExtra"), "abc", "-b"}));
}

TEST_F(GroupTree, CompilerDefinitionsWithBuildMacros) {
  read(macro("CPU", "PPC32") + globalMacro("DEBUG", "") +
       compiler("cc -DFOO -DBAR=2 -D$(CPU) -DDBG=$(DEBUG) -DTOOL=$(TOOL) -D $(X)"));
  EXPECT_EQ(root.macros,
            (Macros{{"BAR", "2"}, {"CPU", "PPC32"}, {"DBG", "1"}, {"FOO", ""}, {"TOOL", ""}}));
}

TEST_F(GroupTree, UnknownReferenceAndMacroAfterTheCommand) {
  read(compiler("cc -DFOO -DBAR=2 -D$(CPU) -DCPU2=$(CPU)") + macro("CPU", "PPC32"));
  EXPECT_EQ(root.macros, (Macros{{"BAR", "2"}, {"CPU", ""}, {"CPU2", ""}, {"FOO", ""}}));
}

TEST_F(GroupTree, DefinesPassComesLastAndWins) {
  read(macro("DEFINES", "-DA=defines -DB -DC=$(X)") +
       compiler("cc -DA=command -DA=again -DD $(DEFINES)"));
  EXPECT_EQ(root.macros, (Macros{{"A", "defines"}, {"B", ""}, {"C", "$(X)"}, {"D", ""}}));
}

TEST_F(GroupTree, OnlyTheCCompilerCommandIsRead) {
  read("<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd\" value=\"-DCXX\"/>\n" +
       compiler("cc -DC"));
  EXPECT_EQ(root.macros, (Macros{{"C", ""}}));
}

TEST_F(GroupTree, TokensThatCannotBeRead) {
  read(macro("NOVALUE", "") + compiler("-D$( -D -D$(NOVALUE) -D$(A)$(B) -D$()"));
  EXPECT_EQ(root.macros, (Macros{{"NOVALUE", "1"}}));
}

TEST_F(GroupTree, EndOfFileInsideABlockKeepsWhatWasRead) {
  referenced = {"Lib"};
  extensions = {"c"};
  read(includes({"-Ia"}) + "<subprojects>\n<subproject project=\"/Lib\"/>\n");
  EXPECT_EQ(groupNames(), (Strings{"Lib"}));
  EXPECT_EQ(root.includePaths, (Strings{"a"}));
  EXPECT_EQ(root.files.size(), 1u);
}

TEST_F(GroupTree, WorkspaceWithTrailingSeparatorDoublesIt) {
  referenced = {"Lib"};
  workspace += sep;
  extensions = {"c"};
  folders.file(FakeFolders::native("ws/") + sep + "top.c");
  read(subprojects({"/Lib"}) + includes({"-I%Proj-Lib%/h"}));
  EXPECT_EQ(root.includePaths, (Strings{ws(sep + "Lib/h")}));
  EXPECT_EQ(root.files, (Strings{ws(sep + "top.c")}));
}

TEST_F(GroupTree, ClosingLineOfABlockIsExaminedByTheLaterRecognisers) {
  referenced = {"Drv"};
  read("<subprojects>\n<subproject project=\"/Drv\"/>\n</subprojects>" + compiler("cc -DONE") +
       "/subprojects\n</subprojects>\n");
  EXPECT_EQ(root.macros, (Macros{{"ONE", ""}}));
  // "/subprojects" outside a list opens a new one, which scans the root again.
  EXPECT_EQ(root.files.size(), 4u);
}

}  // namespace
