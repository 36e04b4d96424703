#include "reading/real_project.h"

#include <gtest/gtest.h>
#include <sstream>

#include "fake_folders.h"
#include "model/failure.h"

namespace {

using Strings = std::vector<std::string>;
using Macros = std::map<std::string, std::string>;
const std::string sep(1, platform::separator);

std::string entry(const std::string& key, const std::string& value) {
  return "<stringAttribute key=\"BLD::Info|" + key + "\" value=\"" + value + "\"/>\n";
}
std::string list(const std::string& key, const Strings& values) {
  std::string text = "<listAttribute key=\"BLD::Info|" + key + "\">\n";
  for (const auto& value : values) text += "<stringAttribute value=\"" + value + "\"/>\n";
  return text + "</listAttribute>\n";
}
std::string subprojects(const Strings& paths) {
  std::string text = "<subprojects>\n";
  for (const auto& path : paths) text += "<subproject project=\"" + path + "\"/>\n";
  return text + "</subprojects>\n";
}

// The workspace "ws" in memory with the project App in ws/App.
class RealProject : public ::testing::Test {
 protected:
  RealProject() {
    for (const char* file : {"ws/App/app.c", "ws/App/src/a.c", "ws/App/gnu/out.c",
                             "ws/App/diab/out.c", "ws/App/build/obj.c", "ws/App/.metadata/m.c",
                             "ws/Lib/.project", "ws/Lib/lib.c", "ws/LibExtra/.project",
                             "ws/LibExtra/extra.c", "ws/Web/trunk/src/.project",
                             "ws/Web/trunk/src/web.c"}) {
      folders.file(file);
    }
    names[at("ws/Lib/.project")] = "Lib";
    names[at("ws/LibExtra/.project")] = "LibExtra";
    names[at("ws/Web/trunk/src/.project")] = "Web";
  }
  static std::string at(const std::string& path) { return FakeFolders::native(path); }
  RealProjectResult read(const std::string& description) {
    std::istringstream in(description);
    const RealProjectInputs inputs{
        "ws",        at("ws/App"), "App",
        referenced,  "/cwd",       FolderScan{folders.lister(), {}},
        [this](const std::string& path) -> std::optional<std::string> {
          const auto found = names.find(path);
          if (found == names.end()) return std::nullopt;
          return found->second;
        },
        [](const std::string& name) -> std::optional<std::string> {
          if (name == "HOME") return "/home/me";
          return std::nullopt;
        }};
    return buildRealProjectTree(in, root, inputs, options);
  }
  Strings groupNames() const {
    Strings result;
    for (const auto& group : root.subGroups) result.push_back(group->name);
    return result;
  }
  // The failure's kind and subject, or "" when the file was read.
  std::string refusal(const std::string& description) {
    try {
      read(description);
    } catch (const Failure& failure) {
      return (failure.kind == FailureKind::UnknownBuildSpec ? "spec: " : "target: ") +
             failure.subject;
    }
    return "";
  }

  FakeFolders folders;
  std::map<std::string, std::string> names;
  Strings referenced;
  RealProjectOptions options{true, "", "", {}, {}};
  FileGroup root;
};

const std::string kTwoSpecs = entry("defaultSpec", "gnu") + list("specs", {"diab", "gnu"}) +
                              list("Incl|diab", {"-I/diab/h"}) + list("Incl|gnu", {"-I/gnu/h"}) +
                              list("Incl|", {"-I/any/h"}) +
                              entry("Macro|CPU|value|diab", "PPC32") +
                              entry("Macro|CPU|value|gnu", "ARMEL") +
                              entry("Tool|C-Compiler|cmd|diab", "dcc -DCPU=$(CPU) -DDIAB") +
                              entry("Tool|C-Compiler|cmd|gnu", "ccarm -DCPU=$(CPU) -DGNU") +
                              entry("Tool|C++-Compiler|cmd|gnu", "c++arm");

TEST_F(RealProject, OneBuildSpecIsRead) {
  const RealProjectResult result = read(kTwoSpecs);
  EXPECT_EQ(result.spec, "gnu");
  EXPECT_EQ(root.includePaths, (Strings{"/gnu/h", "/any/h"}));
  EXPECT_EQ(root.macros, (Macros{{"CPU", "ARMEL"}, {"GNU", ""}}));
  EXPECT_EQ(result.cCompiler, "ccarm -DCPU=$(CPU) -DGNU");
  EXPECT_EQ(result.cxxCompiler, "c++arm");
}

// A stream that cannot be set back (a pipe, say) is read in one pass, its
// statements kept until the build spec is known; the result is the same.
class OnePassBuffer : public std::streambuf {
 public:
  explicit OnePassBuffer(std::string text) : text(std::move(text)) {
    setg(this->text.data(), this->text.data(), this->text.data() + this->text.size());
  }

 private:
  std::string text;
};

TEST_F(RealProject, AStreamThatCannotBeReadTwiceGivesTheSameResult) {
  read(kTwoSpecs + entry("defaultSpec", "diab"));
  const auto seekable = root.includePaths;
  const auto seekableMacros = root.macros;
  EXPECT_EQ(seekable, (Strings{"/diab/h", "/any/h"}));
  root = FileGroup();
  OnePassBuffer buffer(kTwoSpecs + entry("defaultSpec", "diab"));
  std::istream in(&buffer);
  const RealProjectInputs inputs{"ws", at("ws/App"), "App", {}, "/cwd",
                                 FolderScan{folders.lister(), {}}, nullptr, nullptr};
  EXPECT_EQ(buildRealProjectTree(in, root, inputs, options).spec, "diab");
  EXPECT_EQ(root.includePaths, seekable);
  EXPECT_EQ(root.macros, seekableMacros);
}

TEST_F(RealProject, TheSpecGivenThenTheDefaultThenTheFirstThenAll) {
  options.spec = "diab";
  EXPECT_EQ(read(kTwoSpecs).spec, "diab");
  EXPECT_EQ(root.macros, (Macros{{"CPU", "PPC32"}, {"DIAB", ""}}));

  root = FileGroup();
  options.spec.clear();
  EXPECT_EQ(read(list("specs", {"diab", "gnu"}) + list("Incl|diab", {"-I/d"})).spec, "diab");

  root = FileGroup();
  EXPECT_EQ(read(list("Incl|diab", {"-I/d"}) + list("Incl|gnu", {"-I/g"})).spec, "");
  EXPECT_EQ(root.includePaths, (Strings{"/d", "/g"}));
}

TEST_F(RealProject, AnUnknownSpecOrTargetIsRefusedWithTheKnownOnes) {
  options.spec = "ppc";
  EXPECT_EQ(refusal(kTwoSpecs), "spec: ppc (known: diab, gnu)");
  EXPECT_EQ(refusal(""), "spec: ppc (known: none)");
  Strings many;
  for (int i = 0; i < 25; ++i) many.push_back("s" + std::to_string(i));
  EXPECT_EQ(refusal(list("specs", many)).substr(0, 24), "spec: ppc (known: s0, s1");
  EXPECT_NE(refusal(list("specs", many)).find(" and 5 more)"), std::string::npos);
  options.spec.clear();
  options.target = "t";
  EXPECT_EQ(refusal("<buildtargets><buildtarget name=\"app\"></buildtarget></buildtargets>\n"),
            "target: t (known: app)");
  EXPECT_TRUE(root.files.empty()) << "nothing was scanned";
}

TEST_F(RealProject, DefinesListsWinOverTheCommand) {
  read(entry("Macro|RATE|value", "250") + entry("Tool|C-Compiler|cmd", "cc -DRATE=1 -DKEEP") +
       list("Definess|", {"-DRATE=$(RATE) -DTAG=\\&quot;$(CPU)\\&quot;", " ",
                          "-DQ=&quot;a b&quot; -D LONE"}));
  EXPECT_EQ(root.macros, (Macros{{"KEEP", ""}, {"LONE", ""}, {"Q", "a b"}, {"RATE", "250"},
                                 {"TAG", "\"$(CPU)\""}}));
}

TEST_F(RealProject, VariablesAreGivenTakenFromMacrosOrTheEnvironmentOrNamed) {
  options.variables = {{"WIND_BASE", "/wr"}};
  const RealProjectResult result = read(
      entry("Macro|VSB|value", "/vsb") +
      list("Incl|", {"-I$(WIND_BASE)/h", "-I$(VSB)/h", "-I$(HOME)/h", "-I$(SDK)/a", "-I$(SDK)/b",
                     "-I$(SDK)/a"}) +
      entry("Tool|C-Compiler|cmd", "cc -DBOARD=$(BOARD) -DSDK=$(SDK)"));
  EXPECT_EQ(root.includePaths,
            (Strings{"/wr/h", "/vsb/h", "/home/me/h", "$(SDK)/a", "$(SDK)/b"}));
  EXPECT_EQ(root.macros, (Macros{{"BOARD", "$(BOARD)"}, {"SDK", "$(SDK)"}}));
  EXPECT_EQ(result.warnings,
            (Strings{"Warning: unresolved variable SDK in 2 include paths and 1 macro value "
                     "(give it with -var SDK=...)",
                     "Warning: unresolved variable BOARD in 1 macro value (give it with -var "
                     "BOARD=...)"}));
}

TEST_F(RealProject, IncludePathsAreMappedMadeAbsoluteAndKeptOnce) {
  // The longest FROM wins.
  options.maps = {{"C:/WindRiver", "/opt/wr"}, {"C:/WindRiver/workspace", "ws"}};
  read(list("Incl|", {"-IC:\\WindRiver\\workspace/Lib/h", "-isystemC:/WindRiver/vx/h", "-I..",
                      "-Iinc", "-I", "-I/abs", "-isystem/abs", "-I%Proj-Lib%/inc", "-I%Proj-App%/x",
                      "-I%Proj-Web%/y", "-I%Proj-Nowhere%/z"}));
  EXPECT_EQ(root.includePaths,
            (Strings{"ws/Lib/h", "/opt/wr/vx/h", at("ws/App") + sep + "..",
                     at("ws/App") + sep + "inc", "/abs", at("ws/Lib") + "/inc", at("ws/App") + "/x",
                     at("ws/Web/trunk/src") + "/y", "ws" + sep + "Nowhere/z"}));
}

TEST_F(RealProject, TheOwnFolderWithoutBuildOutputsSpecFoldersAndSubprojects) {
  folders.file("ws/App/Lib2/.project");
  names[at("ws/App/Lib2/.project")] = "Lib2";
  folders.file("ws/App/Lib2/l2.c");
  const RealProjectResult result =
      read(list("specs", {"diab", "gnu"}) + entry("redirDir|gnu", "build") +
           subprojects({"/App/Lib2"}));
  EXPECT_EQ(root.files, (Strings{at("ws/App/app.c")}));
  EXPECT_EQ(groupNames(), (Strings{"src", "Lib2"}));
  EXPECT_TRUE(result.warnings.empty());
}

TEST_F(RealProject, AProjectFolderThatIsTheWorkspaceListsNoFileTwice) {
  folders.file("ws/top.c");
  const RealProjectInputs inputs{"ws", "ws", "Top", {}, "/cwd", FolderScan{folders.lister(), {"c"}},
                                 nullptr, nullptr};
  std::istringstream in(subprojects({}));
  const RealProjectResult result = buildRealProjectTree(in, root, inputs, options);
  EXPECT_EQ(root.files, (Strings{at("ws/top.c")}));
  EXPECT_TRUE(result.warnings.empty());
}

TEST_F(RealProject, BuildTargetsChooseTheOwnFiles) {
  folders.file("ws/App/test.c");
  const std::string targets =
      "<buildtargets>\n"
      "<buildtarget name=\"app\"><folder name=\"/App\" recursive=\"true\"><excludes>"
      "<file name=\"test.c\"/></excludes></folder></buildtarget>\n"
      "<buildtarget name=\"test\"><folder name=\"/App\" recursive=\"true\"><excludes>"
      "<file name=\"app.c\"/><file name=\"src/a.c\"/></excludes></folder></buildtarget>\n"
      "</buildtargets>\n";
  read(targets);
  EXPECT_EQ(root.files, (Strings{at("ws/App/app.c"), at("ws/App/test.c")}));
  root = FileGroup();
  options.target = "test";
  read(targets);
  EXPECT_EQ(root.files, (Strings{at("ws/App/test.c")}));
  EXPECT_TRUE(std::none_of(root.subGroups.begin(), root.subGroups.end(),
                           [](const auto& g) { return g->name == "src"; }))
      << "a folder left without files is no group";
}

TEST_F(RealProject, SubprojectsByTheirWholeNamesOnceAndFoundByName) {
  referenced = {"Lib", "Web", "Gone", "", "App"};
  const RealProjectResult result = read(list("specs", {"diab", "gnu"}) +
                                        entry("redirDir|gnu", "build") +
                                        subprojects({"/LibExtra", "/Lib", "/Lib"}));
  EXPECT_EQ(groupNames(), (Strings{"src", "LibExtra", "Lib", "Web"}));
  EXPECT_EQ(root.subGroups[1]->files,
            (Strings{at("ws/LibExtra/.project"), at("ws/LibExtra/extra.c")}));
  EXPECT_EQ(root.subGroups[2]->files, (Strings{at("ws/Lib/.project"), at("ws/Lib/lib.c")}));
  EXPECT_EQ(root.subGroups[3]->files,
            (Strings{at("ws/Web/trunk/src/.project"), at("ws/Web/trunk/src/web.c")}));
  EXPECT_EQ(result.warnings,
            (Strings{"Warning: referenced project Gone not found in the workspace"}));
}

}  // namespace
