#include "building/real_project.h"

#include "driver/messages.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <array>
#include <functional>
#include <sstream>

#include "fake_folders.h"
#include "model/failure.h"
#include "note_lines.h"
#include "reading/linked_resources.h"
#include "text/path.h"

namespace {

// The tree's result where the choices the file offers are not looked at.
RealProjectResult buildRealProjectTree(std::istream& in, FileGroup& root,
                                       const RealProjectContext& context) {
  BuildChoices choices;
  return ::buildRealProjectTree(in, root, context, choices);
}

using Strings = std::vector<std::string>;
using Macros = std::map<std::string, std::string>;
const std::string sep(1, path::separator());

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
    // Each sub-project has a build description of its own, naming nothing.
    for (const char* folder : {"ws/Lib", "ws/LibExtra", "ws/Web/trunk/src", "ws/App/Lib2"}) {
      descriptions[at(std::string(folder) + "/.wrproject")] = "";
    }
  }
  static std::string at(const std::string& path) { return FakeFolders::native(path); }
  RealProjectResult read(const std::string& description) {
    std::istringstream in(description);
    warnings.clear();
    const RealProjectContext context{
        .projectName = "App",
        .referencedProjects = referenced,
        .links = links,
        .workspaceDir = "ws",
        .projectFolder = projectFolder,
        .currentDirectory = "/cwd",
        .options = options,
        .scan = FolderScan{counted(folders.lister()), extensions, false, passOver},
        .readProjectName = [this](const std::string& path) -> std::optional<std::string> {
          const auto found = names.find(path);
          if (found == names.end()) return std::nullopt;
          return found->second;
        },
        .openBuildDescription = [this](const std::string& path) -> std::unique_ptr<std::istream> {
          const auto found = descriptions.find(path);
          if (found == descriptions.end()) return nullptr;
          return std::make_unique<std::istringstream>(found->second);
        },
        .environment = [](const std::string& name) -> std::optional<std::string> {
          if (name == "HOME") return "/home/me";
          if (name == "SDK_HOME") return "/opt/wind river";
          return std::nullopt;
        },
        .notes = collect()};
    return buildRealProjectTree(in, root, context);
  }
  FolderLister counted(FolderLister lister) {
    return [this, lister](const std::string& folder, std::vector<ListedEntry>& entries) {
      ++listed[folder];
      if (!lister(folder, entries)) return false;
      if (reverseListings) std::reverse(entries.begin(), entries.end());
      return true;
    };
  }
  // The warnings as the converter shows them, and the lines of the long steps.
  NoteSink collect() {
    return [this](Note note) { (isWarning(note.kind) ? warnings : steps).push_back(textOf(note)); };
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
      // The known names, as the converter's message shows them.
      const std::string message = messageFor(failure);
      return (failure.kind == FailureKind::UnknownBuildSpec ? "spec: " : "target: ") +
             message.substr(message.find(": ") + 2);
    }
    return "";
  }

  FakeFolders folders;
  std::map<std::string, std::string> names;
  std::map<std::string, std::string> descriptions;  // the sub-projects' .wrproject texts
  Strings referenced;
  ProjectLinks links;
  std::string projectFolder = at("ws/App");
  Strings extensions;
  PassOver passOver;
  std::map<std::string, int> listed;  // how often each folder was listed
  bool reverseListings = false;       // a lister that does not sort by name
  Strings warnings;
  Strings steps;
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
  const RealProjectContext context{.projectName = "App",
                                   .workspaceDir = "ws",
                                   .projectFolder = at("ws/App"),
                                   .currentDirectory = "/cwd",
                                   .options = options,
                                   .scan = FolderScan{folders.lister(), {}},
                                   .notes = ignoreNotes()};
  EXPECT_EQ(buildRealProjectTree(in, root, context).spec, "diab");
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
  EXPECT_EQ(warnings,
            (Strings{"Warning: unresolved variable SDK in 2 include paths and 1 macro value "
                     "(give it with -var SDK=...)",
                     "Warning: unresolved variable BOARD in 1 macro value (give it with -var "
                     "BOARD=...)"}));
}

TEST_F(RealProject, IncludePathsAreMappedMadeAbsoluteAndKeptOnce) {
  // The longest FROM wins.
  options.maps = {{"C:/WindRiver", "/opt/wr"}, {"C:/WindRiver/workspace", "ws"}};
  // The entries are split as a shell splits them: "\\\\" is one backslash.
  // The -isystem folders come after the -I ones, as the compiler searches them.
  read(list("Incl|", {"-IC:\\\\WindRiver\\\\workspace/Lib/h", "-isystemC:/WindRiver/vx/h", "-I..",
                      "-Iinc", "-I/abs", "-isystem/abs", "-I%Proj-Lib%/inc", "-I%Proj-App%/x",
                      "-I%Proj-Web%/y", "-I%Proj-Nowhere%/z", "-I"}));
  EXPECT_EQ(root.includePaths,
            (Strings{"ws/Lib/h", "ws", at("ws/App") + sep + "inc", "/abs", at("ws/Lib") + "/inc", at("ws/App") + "/x",
                     at("ws/Web/trunk/src") + "/y", "ws" + sep + "Nowhere/z", "/opt/wr/vx/h"}));
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
  EXPECT_TRUE(warnings.empty());
}

TEST_F(RealProject, AProjectFolderThatIsTheWorkspaceListsNoFileTwice) {
  folders.file("ws/top.c");
  const RealProjectContext context{.projectName = "Top",
                                   .workspaceDir = "ws",
                                   .projectFolder = "ws",
                                   .currentDirectory = "/cwd",
                                   .options = options,
                                   .scan = FolderScan{folders.lister(), {"c"}},
                                   .notes = collect()};
  std::istringstream in(subprojects({}));
  const RealProjectResult result = buildRealProjectTree(in, root, context);
  EXPECT_EQ(root.files, (Strings{at("ws/top.c")}));
  EXPECT_TRUE(warnings.empty());
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
  // A project's description is none of its sources.
  EXPECT_EQ(root.subGroups[1]->files, (Strings{at("ws/LibExtra/extra.c")}));
  EXPECT_EQ(root.subGroups[2]->files, (Strings{at("ws/Lib/lib.c")}));
  EXPECT_EQ(root.subGroups[3]->files, (Strings{at("ws/Web/trunk/src/web.c")}));
  EXPECT_EQ(warnings,
            (Strings{"Warning: referenced project Gone not found in the workspace"}));
  // Four looked for, Gone among them; the project and "" are none.
  EXPECT_EQ(steps,
            (Strings{"Scanning sub-projects: 4 projects", "Scanning project folder: " + at("ws/App")}));
}


// Linked files and folders where their link names place them, judged by
// those names; a link that cannot be found is named in one warning. (The
// project lies at /w/App: locations are absolute.)
TEST_F(RealProject, LinkedResourcesJoinTheOwnSources) {
  projectFolder = at("/w/App");
  const auto files = [&](Strings paths) {
    folders = FakeFolders();
    for (const auto& path : paths) folders.file(path);
  };
  files({"/w/App/app.c", "/w/App/src/a.c", "/w/Shared/common/c1.c", "/w/Shared/common/sub/c2.cpp",
         "/w/Shared/v.c", "/w/Examples/main.cpp", "/w/out/App.prj"});
  const auto link = [](const char* name, bool folder, const char* location) {
    return LinkedResource{name, folder, location, true};
  };
  links.links = {link("src/main.cpp", false, "PARENT-1-PROJECT_LOC/Examples/main.cpp"),
                 link("common", true, "MY_ROOT/common"),
                 link("virt", true, "virtual:/virtual"),
                 link("virt/v.c", false, "PROJECT_LOC/../Shared/v.c"),
                 link("gone.c", false, "PROJECT_LOC/gone.c"),
                 link("lib", true, "UNKNOWN/lib"),
                 link("dup.c", false, "PROJECT_LOC/app.c"),
                 link("../out.c", false, "PROJECT_LOC/app.c"),
                 link("App.prj", false, "PARENT-1-PROJECT_LOC/out/App.prj")};
  passOver.add(at("/w/out/App.prj"));  // the run's own output
  options.variables = {{"MY_ROOT", at("/w/Shared")}};
  const std::string excludeC1 =
      "<buildtargets><buildtarget name=\"t\"><folder name=\"/App\" recursive=\"true\">"
      "<excludes><file name=\"common/c1.c\"/></excludes></folder></buildtarget></buildtargets>\n";
  const RealProjectResult result = read(excludeC1);
  EXPECT_EQ(root.files, (Strings{at("/w/App/app.c")})) << "dup.c is app.c, listed once";
  ASSERT_EQ(groupNames(), (Strings{"src", "common", "virt"}));
  EXPECT_EQ(root.subGroups[0]->files, (Strings{at("/w/App/src/a.c"), at("/w/Examples/main.cpp")}));
  const FileGroup& common = *root.subGroups[1];
  EXPECT_TRUE(common.files.empty()) << "the target excludes common/c1.c";
  ASSERT_EQ(common.subGroups.size(), 1u);
  EXPECT_EQ(common.subGroups[0]->files, (Strings{at("/w/Shared/common/sub/c2.cpp")}));
  EXPECT_EQ(root.subGroups[2]->files, (Strings{at("/w/Shared/v.c")}));
  // Groups name real folders: src its own, the virtual folder its file's.
  EXPECT_EQ(root.subGroups[0]->sourceFolder, at("/w/App/src"));
  EXPECT_EQ(root.subGroups[2]->sourceFolder, at("/w/Shared"));
  EXPECT_EQ(warnings, (Strings{"Warning: 3 linked resources of App left out, location "
                                      "unknown or missing: gone.c, lib, ../out.c"}));

  // -ext applies to the link names as to own files.
  root = FileGroup();
  files({"/w/App/app.h", "/w/Shared/common/c1.c", "/w/Shared/common/sub/c2.cpp",
         "/w/Examples/main.cpp"});
  extensions = {"c"};
  read("");
  EXPECT_TRUE(root.files.empty());
  ASSERT_EQ(groupNames(), (Strings{"common"}));
  EXPECT_EQ(root.subGroups[0]->files, (Strings{at("/w/Shared/common/c1.c")}));
}

// Where links put groups that no folder of the project holds: many side by
// side, a chain of them, and a linked folder inside a virtual one.
TEST_F(RealProject, LinkGroupsAreFoundAmongManyAndNamedDownAChain) {
  projectFolder = at("/w/App");
  for (const char* file : {"/w/App/app.c", "/w/App/deep/a/real.c", "/w/Shared/x.c",
                           "/w/Shared/y.c", "/w/Shared/lib/l.c"}) {
    folders.file(file);
  }
  const auto link = [](std::string name, bool folder, const char* location) {
    return LinkedResource{std::move(name), folder, location, true};
  };
  Strings many;
  for (int i = 0; i < 20; ++i) {
    const std::string name = "v" + std::to_string(i);
    links.links.push_back(link(name, true, "virtual:/virtual"));
    folders.file("/w/Shared/" + name + ".c");
    links.links.push_back(link(name + "/f.c", false, ""));
    links.links.back().location = "PARENT-1-PROJECT_LOC/Shared/" + name + ".c";
    many.push_back(name);
  }
  // The 20 linked files lie in one folder whose listing comes unsorted.
  reverseListings = true;
  links.links.push_back(link("v3/y.c", false, "PARENT-1-PROJECT_LOC/Shared/y.c"));
  links.links.push_back(link("deep/a/b/c/x.c", false, "PARENT-1-PROJECT_LOC/Shared/x.c"));
  links.links.push_back(link("virt/lib", true, "PARENT-1-PROJECT_LOC/Shared/lib"));
  links.links.push_back(link(std::string(3000, 'e') + "/" + std::string(2000, 'f'), true,
                             "virtual:/virtual"));
  read("");
  Strings names = groupNames();
  ASSERT_EQ(names.size(), 22u);
  EXPECT_EQ(Strings(names.begin() + 1, names.end() - 1), many) << "each once, in link order";
  const FileGroup& v3 = *root.subGroups[4];
  EXPECT_EQ(v3.files, (Strings{at("/w/Shared/v3.c"), at("/w/Shared/y.c")}));
  EXPECT_EQ(v3.sourceFolder, at("/w/Shared"));
  // deep and deep/a are folders of the project, deep/a/b is not: it names
  // the folder the files below it lie in, as deep/a/b/c names its file's.
  const FileGroup* group = root.subGroups[0].get();
  Strings chain;
  for (; group != nullptr; group = group->subGroups.empty() ? nullptr : group->subGroups.back().get()) {
    chain.push_back(group->name + "=" + group->sourceFolder);
  }
  EXPECT_EQ(chain, (Strings{"deep=" + at("/w/App/deep"), "a=" + at("/w/App/deep/a"),
                            "b=" + at("/w/Shared"), "c=" + at("/w/Shared")}));
  ASSERT_EQ(names.back(), "virt");
  ASSERT_EQ(root.subGroups.back()->subGroups.size(), 1u);
  EXPECT_EQ(root.subGroups.back()->subGroups[0]->sourceFolder, at("/w/Shared/lib"));
}

// A .project with these links (name, type, locationURI), as Eclipse writes it.
std::string projectWithLinks(const std::vector<std::array<const char*, 3>>& links) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<projectDescription>\n\t<name>App</name>\n"
      "\t<natures>\n\t\t<nature>com.windriver.ide.core.wrnature</nature>\n\t</natures>\n"
      "\t<linkedResources>\n";
  for (const auto& [name, type, uri] : links) {
    text += std::string("\t\t<link>\n\t\t\t<name>") + name + "</name>\n\t\t\t<type>" + type +
            "</type>\n\t\t\t<locationURI>" + uri + "</locationURI>\n\t\t</link>\n";
  }
  return text + "\t</linkedResources>\n</projectDescription>\n";
}

// Groups that only links make name a folder that exists: a virtual folder
// holding only virtual sub-folders names the deepest folder all files below
// it lie in, or, where that is only a root, the nearest folder above; its
// own files' folder where it has files. Locations name the converter's own
// variables, reported after the commands' and once each.
TEST_F(RealProject, VirtualFoldersNameFoldersThatExist) {
  projectFolder = at("/cwd/ws/App");  // the workspace "ws" is /cwd/ws
  const char* v = "virtual:/virtual";
  struct Case {
    const char* what;
    std::vector<std::array<const char*, 3>> links;
    std::string description;  // the .wrproject
    Strings groups;           // "path=folder", below the project's own group
    const char* variables;    // "NAME=value source", each
  } cases[] = {
      {"only virtual sub-folders",
       {{"Sources", "2", v}, {"Sources/Common", "2", v},
        {"Sources/Common/timer.cpp", "1", "PARENT-1-PROJECT_LOC/Sources/Common/timer.cpp"}},
       "",
       {"Sources=/cwd/ws/Sources/Common", "Sources/Common=/cwd/ws/Sources/Common"},
       ""},
      {"sub-folders in two folders",
       {{"V", "2", v}, {"V/A", "2", v}, {"V/B", "2", v},
        {"V/A/demo.cpp", "1", "WS_ROOT_DIR/Examples/Demo/demo.cpp"},
        {"V/B/timer.cpp", "1", "PRJ_ROOT_DIR/../Sources/Common/timer.cpp"}},
       "",
       {"V=/cwd/ws", "V/A=/cwd/ws/Examples/Demo", "V/B=/cwd/ws/Sources/Common"},
       "WS_ROOT_DIR=/cwd/ws Workbench, PRJ_ROOT_DIR=/cwd/ws/App Workbench"},
      {"nothing in common but the root",
       {{"V", "2", v}, {"V/A", "2", v}, {"V/B", "2", v},
        {"V/A/demo.cpp", "1", "PARENT-1-PROJECT_LOC/Examples/Demo/demo.cpp"},
        {"V/B/sdk.c", "1", "file:/opt/sdk/sdk.c"}},
       "",
       {"V=/cwd/ws/App", "V/A=/cwd/ws/Examples/Demo", "V/B=/opt/sdk"},
       ""},
      {"files of its own in one folder",
       {{"V", "2", v}, {"V/B", "2", v},
        {"V/main.cpp", "1", "PARENT-2-WS_ROOT_DIR/cwd/ws/Examples/Demo/main.cpp"},
        {"V/B/sdk.c", "1", "file:/opt/sdk/sdk.c"}},
       "",
       {"V=/cwd/ws/Examples/Demo", "V/B=/opt/sdk"},
       "WS_ROOT_DIR=/cwd/ws Workbench"},
      {"inside a linked folder",
       {{"lib", "2", "WS_ROOT_DIR/Lib"}, {"lib/v", "2", v}, {"lib/v/A", "2", v},
        {"lib/v/B", "2", v}, {"lib/v/A/demo.cpp", "1", "WS_ROOT_DIR/Examples/Demo/demo.cpp"},
        {"lib/v/B/sdk.c", "1", "file:/opt/sdk/sdk.c"}},
       "",
       {"lib=/cwd/ws/Lib", "lib/v=/cwd/ws/Lib", "lib/v/A=/cwd/ws/Examples/Demo",
        "lib/v/B=/opt/sdk"},
       "WS_ROOT_DIR=/cwd/ws Workbench"},
      {"holding a linked folder, the commands naming its variable",
       {{"V", "2", v}, {"V/lib", "2", "PARENT-1-PRJ_ROOT_DIR/Lib"}},
       list("Incl|", {"-I$(PRJ_ROOT_DIR)/h"}),
       {"V=/cwd/ws/Lib", "V/lib=/cwd/ws/Lib"},
       "PRJ_ROOT_DIR=/cwd/ws/App Workbench"},
  };
  for (const Case& c : cases) {
    folders = FakeFolders();
    for (const char* file : {"/cwd/ws/App/app.c", "/cwd/ws/Examples/Demo/demo.cpp",
                             "/cwd/ws/Examples/Demo/main.cpp", "/cwd/ws/Sources/Common/timer.cpp",
                             "/cwd/ws/Lib/l.c", "/opt/sdk/sdk.c"}) {
      folders.file(file);
    }
    links = parseLinkedResources(projectWithLinks(c.links));
    root = FileGroup();
    const RealProjectResult result = read(c.description);
    Strings named;
    const std::function<void(const FileGroup&, const std::string&)> name =
        [&](const FileGroup& group, const std::string& prefix) {
          for (const auto& sub : group.subGroups) {
            named.push_back(prefix + sub->name + "=" + sub->sourceFolder);
            name(*sub, prefix + sub->name + "/");
          }
        };
    name(root, "");
    Strings expected;
    for (const auto& group : c.groups) {
      const std::size_t is = group.find('=');
      expected.push_back(group.substr(0, is + 1) + at(group.substr(is + 1)));
    }
    EXPECT_EQ(named, expected) << c.what;
    std::string variables;  // with "/": commands take the folders so on Windows, links not
    for (const auto& variable : result.variables) {
      std::string value = variable.value.value_or("null");
      std::replace(value.begin(), value.end(), '\\', '/');
      variables += (variables.empty() ? "" : ", ") + variable.name + "=" + value + " " +
                   (variable.source == VariableExpander::Source::Workbench ? "Workbench" : "other");
    }
    EXPECT_EQ(variables, c.variables) << c.what;
    EXPECT_EQ(warnings, Strings{}) << c.what;
  }
}

// The steps scan through one lister: a folder the search for sub-projects
// listed is not listed again for the project's own sources.
TEST_F(RealProject, TheOwnFolderIsListedOnceAfterTheSearch) {
  referenced = {"Web"};  // found only by searching the workspace
  read(list("specs", {"diab", "gnu"}) + entry("redirDir|gnu", "build"));
  EXPECT_EQ(groupNames(), (Strings{"src", "Web"}));
  EXPECT_EQ(listed[at("ws/App")], 1);
  EXPECT_EQ(listed[at("ws/App/src")], 1);
  EXPECT_EQ(listed[at("ws/Web/trunk/src")], 1);
}

// The folder each group's files lie in: the project folder, its own
// sub-folders, a sub-project's folder wherever it was found, a linked folder.
TEST_F(RealProject, GroupsNameTheirRealFolders) {
  folders.file("ws/Shared/x.c");
  links.links = {{"ext", true, "../Shared", false}};  // relative to the project folder
  referenced = {"Web"};
  read(list("specs", {"diab", "gnu"}) + entry("redirDir|gnu", "build"));
  EXPECT_EQ(root.sourceFolder, at("ws/App"));
  Strings named;
  for (const auto& group : root.subGroups) named.push_back(group->name + "=" + group->sourceFolder);
  EXPECT_EQ(named, (Strings{"src=" + at("ws/App/src"), "ext=" + at("ws/Shared"),
                            "Web=" + at("ws/Web/trunk/src")}));
}

// Relative include entries name folders from the build folder, where the
// compiler runs: the chosen build spec's redirDir, else a folder named like it.
TEST_F(RealProject, RelativeIncludeEntriesAreTakenFromTheBuildFolder) {
  projectFolder = FakeFolders::native("/p/App");
  const Strings entries{"-I..", "-Iinc", "-I../../SDK/INC", "-I.", "-I$(PRJ_ROOT_DIR)/h",
                        "-I/abs/h", "-I$(REL)/x"};
  // Joined paths come out with the platform's separators; the others as written, and
  // $(PRJ_ROOT_DIR) with "/", as Workbench gives its own variables.
  const auto N = [](const char* path) { return FakeFolders::native(path); };
  struct Case {
    std::string description;
    Strings paths;
  } cases[] = {
      {entry("defaultSpec", "gnu") + entry("Macro|REL|value", "../rel"),
       {N("/p/App"), N("/p/App/gnu/inc"), N("/p/SDK/INC"), N("/p/App/gnu"), "/p/App/h",
        "/abs/h", N("/p/App/rel/x")}},
      {entry("defaultSpec", "gnu") + entry("redirDir|gnu", "build/gnu") + entry("redirDir|x", "x"),
       {N("/p/App/build"), N("/p/App/build/gnu/inc"), N("/p/App/SDK/INC"), N("/p/App/build/gnu"),
        "/p/App/h", "/abs/h", "$(REL)/x"}},
      {"", {N("/p"), N("/p/App/inc"), N("/SDK/INC"), N("/p/App"), "/p/App/h", "/abs/h",
            "$(REL)/x"}},
  };
  for (const Case& c : cases) {
    root = FileGroup();
    read(c.description + list("Incl|", entries));
    EXPECT_EQ(root.includePaths, c.paths) << c.description;
  }
}

// C sources take the C command's macros and C++ sources the C++ command's,
// each with the defines lists; the one analyser personality takes the C
// command's unless the own sources are all C++ or the C command defines none.
TEST_F(RealProject, EachLanguageHasItsCommandsMacros) {
  const std::string commands =
      entry("Tool|C-Compiler|cmd", "cc -DC_ONLY -DBOTH=c -c %InFile%") +
      entry("Tool|C++-Compiler|cmd",
            "c++ -DCXX_ONLY -D'SVN_REV=&quot;r 12&quot;' -DBOTH=cxx $(DEFINES) -c %InFile%") +
      entry("Macro|DEFINES|value", "-DFROM_DEFINES") + list("Definess|", {"-DLISTED -DBOTH=list"});
  const Macros c{{"BOTH", "list"}, {"C_ONLY", ""}, {"LISTED", ""}};
  const Macros cxx{{"BOTH", "list"}, {"CXX_ONLY", ""}, {"FROM_DEFINES", ""}, {"LISTED", ""},
                   {"SVN_REV", "\"r 12\""}};
  struct Case {
    Strings ownFiles;
    std::string cCommand;
    Macros personality;
  } cases[] = {
      {{"ws/App/a.c", "ws/App/b.cpp"}, commands, c},
      {{"ws/App/b.cpp", "ws/App/b.h"}, commands, cxx},
      {{"ws/App/a.c"}, entry("Tool|C++-Compiler|cmd", "c++ -DCXX_ONLY"), {{"CXX_ONLY", ""}}},
  };
  for (const Case& one : cases) {
    root = FileGroup();
    folders = FakeFolders();
    for (const auto& file : one.ownFiles) folders.file(file);
    const RealProjectResult result = read(one.cCommand);
    EXPECT_EQ(root.macros, one.personality) << one.ownFiles[0];
    if (one.cCommand != commands) continue;
    EXPECT_EQ(result.cMacros, c);
    EXPECT_EQ(result.cxxMacros, cxx);
    EXPECT_EQ(result.cProgram, "cc");
    EXPECT_EQ(result.cxxProgram, "c++");
  }
}

// Workbench's own variables and values that name variables; every "$(" the
// output keeps is named in a warning, before and after -var for each one
// the warnings name.
// A command naming its include list thousands of times takes it within the
// bound only, and says so; the other language's command is whole.
TEST_F(RealProject, ACommandNamingItsListsTooOftenIsHeldAndNamed) {
  std::string many = "cc -c %InFile%";
  for (int i = 0; i < 2000; ++i) many += " %Includes%";
  read(entry("defaultSpec", "gnu") + entry("Tool|C-Compiler|cmd|gnu", many) +
       entry("Tool|C++-Compiler|cmd|gnu", "c++ %Includes%") +
       list("Incl|gnu", {"-I" + std::string(4000, 'h')}));
  EXPECT_EQ(warnings,
            (Strings{"Warning: the C-Compiler command names its lists too often, left as written "
                     "past 4 MB"}));
}

TEST_F(RealProject, EveryVariableLeftInTheOutputIsNamedInAWarning) {
  const std::string description =
      entry("defaultSpec", "gnu") + entry("Macro|VSB_DIR|value|gnu", "$(PRJ_ROOT_DIR)/../VSB") +
      entry("Macro|LOOP|value", "$(LOOP)x") +
      list("Incl|gnu", {"-I$(VSB_DIR)/h", "-I$(WS_ROOT_DIR)/$(BUILD_SPEC)",
                        "-I$(WIND_HOME)/vxworks/h", "-I$(LOOP)", "-I$(broken"}) +
      entry("Tool|C-Compiler|cmd|gnu",
            "$(TOOL_PATH)/dcc -DVSB=$(VSB_DIR) -DBOARD=$(BOARD) -c %InFile%");
  const auto leftUnnamed = [&](const RealProjectResult& result) {
    Strings unnamed;
    auto check = [&](const std::string& text) {
      for (std::size_t at = text.find("$("); at != std::string::npos; at = text.find("$(", at + 2)) {
        const std::string name = text.substr(at + 2, text.find_first_of(")$", at + 2) - at - 2);
        const bool named = std::any_of(warnings.begin(), warnings.end(),
                                       [&](const std::string& w) { return w.find(name) != std::string::npos; });
        if (!named) unnamed.push_back(text);
      }
    };
    for (const auto& path : root.includePaths) check(path);
    const Macros* all[] = {&root.macros, &result.cMacros, &result.cxxMacros};
    for (const Macros* macros : all) {
      for (const auto& [name, value] : *macros) check(value);
    }
    return unnamed;
  };
  projectFolder = FakeFolders::native("/p/App");
  folders.file("/p/App/main.c");
  RealProjectResult result = read(description);
  // Workbench's own variables have "/" on Windows too.
  EXPECT_EQ(root.includePaths[0], "/p/App/../VSB/h");
  EXPECT_EQ(root.includePaths[1], "/cwd/ws/gnu");
  EXPECT_EQ(result.cProgram, "dcc");
  EXPECT_EQ(leftUnnamed(result), Strings{});
  EXPECT_EQ(warnings,
            (Strings{"Warning: unresolved variable WIND_HOME in 1 include path (give it with -var "
                     "WIND_HOME=...)",
                     "Warning: variable LOOP refers to itself, left as written in 1 include path",
                     "Warning: malformed variable reference $(broken left as written in 1 include "
                     "path",
                     "Warning: unresolved variable BOARD in 1 macro value (give it with -var "
                     "BOARD=...)"}));

  root = FileGroup();
  options.variables = {{"WIND_HOME", "/wr"}, {"BOARD", "b"}, {"LOOP", "l"}, {"TOOL_PATH", "/opt/diab/bin"}};
  result = read(description);
  EXPECT_EQ(result.cProgram, "/opt/diab/bin/dcc");
  EXPECT_EQ(leftUnnamed(result), Strings{});
  EXPECT_EQ(warnings,
            (Strings{"Warning: malformed variable reference $(broken left as written in 1 include path"}));
}

}  // namespace

namespace {

// What the compiler is given, as make runs the build spec's recipe: empty
// build macros stay empty, the flags entries and the lists come in where
// the command places them, "-DX=" stays apart from "-DX", -U undefines,
// folders keep the compiler's search order, and a folder below a linked
// folder is found at the link's location.
TEST_F(RealProject, TheCompilerIsGivenWhatMakeRuns) {
  const std::string rtp = "SIMPENTIUMgnu_RTP";
  const std::string diab = "PPC32diab";
  struct Case {
    std::string description;
    std::vector<LinkedResource> links;
    std::string program;
    Strings includes;
    Macros macros;
  } cases[] = {
      {entry("defaultSpec", rtp) + entry("Macro|TOOL_PATH|value|" + rtp, "") +
           entry("Macro|EMPTY|value|" + rtp, "") + entry("Macro|CPU|value|" + rtp, "SIMPENTIUM") +
           entry("Macro|CC_ARCH_SPEC|value|" + rtp, "-mtune=i486 -DCPU_ARCH=x86") +
           entry("Tool|C-Compiler|cmd|" + rtp,
                 "echo &quot;building $@&quot;;%ccompilerprefix% $(TOOL_PATH)ccpentium "
                 "%DebugModeFlags% %ToolFlags% $(ADDED_CFLAGS) %Includes% $(ADDED_INCLUDES) "
                 "-DCPU=${CPU} %Defines% -o %OutFile% -c %InFile%") +
           entry("Tool|C-Compiler|flags|" + rtp, "$(CC_ARCH_SPEC) -mrtp -D_C99 -std=c99") +
           entry("Tool|C-Compiler|dbgFlags|" + rtp, "-g -DDEBUG_BUILD") +
           list("Incl|" + rtp, {"-I$(WIND_USR)/h", "-isystem/vsb/krnl/h/system", "-I$(EMPTY)/inc",
                                "-iquote/q"}) +
           list("Definess|" + rtp, {"-D__USER_LABEL_PREFIX__=", "-DNDEBUG", "-UNDEBUG"}),
       {},
       "ccpentium",
       {"/q", "$(WIND_USR)/h", "/inc", "/vsb/krnl/h/system"},
       {{"CPU", "SIMPENTIUM"}, {"CPU_ARCH", "x86"}, {"DEBUG_BUILD", ""}, {"_C99", ""},
        {"__USER_LABEL_PREFIX__=", ""}}},
      {entry("defaultSpec", diab) + entry("Macro|TOOL_PATH|value|" + diab, "") +
           entry("Macro|CC_ARCH_SPEC|value|" + diab, "-tPPCFH:vxworks63 -Xstmw-slow -DPPC32_fp60x") +
           entry("Tool|C-Compiler|cmd|" + diab,
                 "$(TOOL_PATH)dcc %DebugModeFlags% %ToolFlags% %Defines% %Includes% -c %InFile%") +
           entry("Tool|C-Compiler|flags|" + diab, "$(CC_ARCH_SPEC) -W:c:,-Xclib-optim-off") +
           list("Incl|" + diab, {"-I$(PRJ_ROOT_DIR)/Commons/h", "-I$(PRJ_ROOT_DIR)/Common"}),
       {{"Commons", true, "PARENT-1-PROJECT_LOC/_User_Common/Commons", true}},
       "dcc",
       {FakeFolders::native("/p/_User_Common/Commons/h"), "/p/App/Common"},
       {{"PPC32_fp60x", ""}}},
  };
  projectFolder = FakeFolders::native("/p/App");
  folders.file("/p/App/main.c");
  for (const Case& one : cases) {
    root = FileGroup();
    links.links = one.links;
    const RealProjectResult result = read(one.description);
    EXPECT_EQ(result.cProgram, one.program);
    EXPECT_EQ(root.includePaths, one.includes);
    EXPECT_EQ(root.macros, one.macros);
  }
}

}  // namespace

namespace {

// The project's own description, build description and settings are never
// sources, whatever -ext asks for.
TEST_F(RealProject, TheProjectsOwnFilesAreNoSources) {
  for (const char* file : {"ws/App/.project", "ws/App/.wrproject", "ws/App/.cproject",
                           "ws/App/.wrmakefile", "ws/App/.settings/org.prefs", "ws/App/.settings/a.c",
                           "ws/App/x.project"}) {
    folders.file(file);
  }
  for (const Strings& ext : {Strings{}, Strings{"c", "project", "wrproject", "cproject", "prefs"}}) {
    root = FileGroup();
    extensions = ext;
    read(subprojects({"/Lib"}));
    EXPECT_EQ(root.files, (Strings{at("ws/App/app.c"), at("ws/App/x.project")}));
    EXPECT_EQ(root.subGroups.back()->files, Strings{at("ws/Lib/lib.c")});
  }
}

}  // namespace

namespace {

// What each own file is compiled with where build targets set entries of
// their own (as the Makefile gives a target's objects their variables): a
// file's own flags for that file alone, a target's include list in place of
// the build spec's for its files, a target's macro over the build spec's; the project's
// own settings, and so the analyser personality, stay the build spec's. A
// reference's excludes are its own, and a target without contents lists
// nothing of its own.
TEST_F(RealProject, EachFileIsCompiledWithWhatItsTargetGivesIt) {
  folders = FakeFolders();
  for (const char* file : {"ws/App/app.c", "ws/App/x.cpp", "ws/App/src/a.c", "ws/App/src/b.cpp"}) {
    folders.file(file);
  }
  const std::string spec = entry("defaultSpec", "S") + list("Incl|S", {"-I/spec/h"}) +
                           entry("Macro|CPU|value|S", "PPC") +
                           entry("Tool|C-Compiler|cmd|S", "cc -DCPU=$(CPU) %Includes% -c %InFile%") +
                           entry("Tool|C++-Compiler|cmd|S",
                                 "c++ %ToolFlags% %Includes% -o %OutFile% -c %InFile%") +
                           entry("Tool|C++-Compiler|flags|S", "-w -O2");
  const auto attributes = [](const std::string& inside) {
    return "<attributes><mapAttribute>\n" + inside + "</mapAttribute></attributes>\n";
  };
  const std::string ownFlags =
      "<buildtargets>\n<buildtarget name=\"T\" buildtool=\"Linker\">\n<contents>\n"
      "<folder name=\"/App\" recursive=\"true\"/>\n<file name=\"/App/src/b.cpp\">" +
      attributes(entry("Tool|C++-Compiler|flags|S", "-O2")) +
      "</file>\n</contents>\n</buildtarget>\n</buildtargets>\n";
  const std::string ownList =
      "<buildtargets><buildtarget name=\"T\" buildtool=\"Linker\">" +
      attributes(list("Incl|S", {"-I/t/h", "-I/t/more"}) + entry("Macro|CPU|value|S", "ARM") +
                 entry("Tool|C-Compiler|cmd|S", "echo x; cc -DT $(CPU) %Includes% -c %InFile%")) +
      "<contents><folder name=\"/App/src\" recursive=\"true\"/></contents></buildtarget>\n"
      "<buildtarget name=\"U\" buildtool=\"Linker\"><contents><folder name=\"/App\" "
      "recursive=\"true\"><excludes><file name=\"x.cpp\"/></excludes></folder></contents>"
      "</buildtarget></buildtargets>\n";
  const std::string references =
      "<buildtargets><buildtarget name=\"T\" buildtool=\"Linker\"><contents>"
      "<folder name=\"/App\" recursive=\"false\"/><buildtargetreference name=\"/App/U\"/>"
      "</contents></buildtarget>\n<buildtarget name=\"U\" buildtool=\"Linker\"><contents>"
      "<folder name=\"/App/src\" recursive=\"true\"><excludes><file name=\"b.cpp\"/>"
      "<file name=\"/App/x.cpp\"/></excludes></folder></contents></buildtarget>\n"
      "<buildtarget name=\"E\" buildtool=\"Linker\"/></buildtargets>\n";
  const std::string project = "c++ -w -O2 -I/spec/h -o $@ -c $<";
  struct Case {
    const char* name;
    std::string targets;
    std::string target;  // -target
    Strings compiled;    // each file kept: its own part of the path and its words
    Strings warnings;
  } cases[] = {
      {"a file's own flags", ownFlags, "",
       {"app.c: cc -DCPU=PPC -I/spec/h -c $< -o $@", "x.cpp: " + project,
        "src/a.c: cc -DCPU=PPC -I/spec/h -c $< -o $@", "src/b.cpp: c++ -O2 -I/spec/h -o $@ -c $<"},
       {}},
      {"a target's list, macro and command", ownList, "",
       {"app.c: cc -DCPU=PPC -I/spec/h -c $< -o $@", "x.cpp: " + project,
        "src/a.c: cc -DT ARM -I/t/h -I/t/more -c $< -o $@",
        "src/b.cpp: c++ -w -O2 -I/t/h -I/t/more -o $@ -c $<"},
       {}},
      {"a target's excludes, not its referrer's", references, "T",
       {"app.c: cc -DCPU=PPC -I/spec/h -c $< -o $@", "x.cpp: " + project,
        "src/a.c: cc -DCPU=PPC -I/spec/h -c $< -o $@"},
       {}},
      {"a target without contents", references, "E", {},
       {"Warning: build target E names no contents, so it lists no file of its own",
        "Warning: the project lists no source file"}},
  };
  for (const Case& one : cases) {
    root = FileGroup();
    options.target = one.target;
    const RealProjectResult result = read(spec + one.targets);
    Strings compiled;
    walkGroups(root, [&](const FileGroup& group) {
      for (const auto& file : group.files) {
        const auto other = result.settingsOfFile.find(file);
        const CompileSettings& settings =
            other == result.settingsOfFile.end()
                ? static_cast<const CompileSettings&>(result)
                : static_cast<const CompileSettings&>(result.otherSettings[other->second]);
        const bool cxx = file.ends_with(".cpp");
        std::string words;
        for (const auto& word : cxx ? settings.cxxWords : settings.cWords) words += " " + word;
        std::string name = file.substr(at("ws/App/").size());
        std::replace(name.begin(), name.end(), '\\', '/');
        compiled.push_back(name + ":" + words);
      }
    }, [](const FileGroup&) {});
    EXPECT_EQ(compiled, one.compiled) << one.name;
    EXPECT_EQ(warnings, one.warnings) << one.name;
    EXPECT_EQ(result.cCompiler, "cc -DCPU=$(CPU) %Includes% -c %InFile%") << one.name;
    EXPECT_EQ(root.includePaths, Strings{"/spec/h"}) << one.name;
    EXPECT_EQ(root.macros, (Macros{{"CPU", "PPC"}})) << one.name;
    for (const auto& other : result.otherSettings) {
      EXPECT_EQ(other.target, "T") << one.name;
      EXPECT_EQ(other.objectFolder, at("ws/App/S/T/Debug")) << one.name;
    }
  }
  // Files setting the same entries share their settings; each says whose they are.
  root = FileGroup();
  options.target.clear();
  const RealProjectResult shared = read(spec + ownList);
  ASSERT_EQ(shared.otherSettings.size(), 1u);
  EXPECT_EQ(shared.otherSettings[0].levels, Strings{"target"});
  EXPECT_EQ(shared.otherSettings[0].owner, "App");
  EXPECT_EQ(shared.otherSettings[0].spec, "S");
  EXPECT_EQ(shared.settingsOfFile.size(), 2u);
}

}  // namespace

namespace {

// The recipe shapes of real and hand-made build specs, read as make and the
// shell run them: each gives the compiler, -D and -I of the command that
// compiles the source, and which of the recipe's commands that is.
TEST_F(RealProject, TheCommandThatCompilesIsFoundAsTheShellRunsTheRecipe) {
  const std::string lists = list("Incl|", {"-I/inc"}) + list("Definess|", {"-DLISTED"});
  const std::string compile = "-DA %Defines% %Includes% -c %InFile%";
  const Macros listed{{"A", ""}, {"LISTED", ""}};
  struct Case {
    std::string description;
    std::string program;
    Macros macros;
    std::size_t command, commands;
    Strings warnings = {};
  } cases[] = {
      // VxWorks 7, verbatim: the apicheck step never runs with APICHECK 0.
      {entry("Macro|APICHECK|value", "0") +
           entry("Macro|APICHECK_CMD|value",
                 "apicheck.sh -r &quot;$(VSB_DIR)/krnl/apicheck/forbidden_api.lst&quot; -n "
                 "&quot;nmpentium&quot; -u -s &quot;$&lt;&quot; &quot;$@&quot; $(APICHECK_OPTIONS)") +
           entry("Tool|C-Compiler|cmd",
                 "echo &quot;building $@&quot;;%ccompilerprefix% $(TOOL_PATH)/ccpentium "
                 "%DebugModeFlags% %ToolFlags% %Defines% $(DEFINES) $(ADDED_CFLAGS) %Includes% "
                 "$(ADDED_INCLUDES) -o %OutFile% -c %InFile% &amp;&amp; if [ "
                 "&quot;$(APICHECK)&quot; = &quot;1&quot; ]; then $(APICHECK_CMD);fi"),
       "ccpentium", {{"LISTED", ""}}, 2, 4},
      {entry("Tool|C-Compiler|cmd", "ccppc " + compile + " &amp;&amp; echo &quot;compiled %InFile%&quot;"),
       "ccppc", listed, 1, 2},
      // Taken from a branch whose condition is unknown, as nothing surer compiles.
      {entry("Tool|C-Compiler|cmd", "if [ -d $(PRJ_ROOT_DIR) ]; then ccppc " + compile + " ; fi"),
       "ccppc", listed, 2, 2},
      {entry("Tool|C-Compiler|cmd", "ccppc -DREV=`git describe; echo x` " + compile), "ccppc",
       {{"A", ""}, {"LISTED", ""}, {"REV", "`git describe; echo x`"}}, 1, 1},
      {entry("Tool|C-Compiler|cmd", "mkdir -p obj&#10;ccppc " + compile), "ccppc", listed, 2, 2},
      {entry("Tool|C-Compiler|cmd", "ccppc " + compile + " 2&gt;&amp;1 | tee build.log"), "ccppc",
       listed, 1, 2},
      {entry("Tool|C-Compiler|cmd", "ccppc " + compile + " # -DCOMMENTED"), "ccppc", listed, 1, 1},
      {entry("Tool|C-Compiler|cmd", "(cd $(PRJ_ROOT_DIR) &amp;&amp; ccppc " + compile + ")"), "ccppc",
       listed, 2, 2},
      {entry("Tool|C-Compiler|cmd", "ccppc \\&#10;-DAFTER=1 " + compile), "ccppc",
       {{"A", ""}, {"AFTER", "1"}, {"LISTED", ""}}, 1, 1},
      // Make's own: the line's prefixes, and "$$" for the shell's "$".
      {entry("Macro|TOOL_PATH|value", "") + entry("Tool|C-Compiler|cmd", "@$(TOOL_PATH)ccppc " + compile),
       "ccppc", listed, 1, 1},
      {entry("Tool|C-Compiler|cmd", "-ccppc " + compile), "ccppc", listed, 1, 1},
      {entry("Macro|STAMP|value", "$$(date)") +
           entry("Tool|C-Compiler|cmd",
                 "ccppc -DHOST=$$(hostname) -DH=$${HOME} -DSTAMP=$(STAMP) -DCOST=$$$$5 " + compile),
       "ccppc",
       {{"A", ""}, {"COST", "$$5"}, {"H", "${HOME}"}, {"HOST", "$(hostname)"}, {"LISTED", ""},
        {"STAMP", "$(date)"}},
       1, 1},
      // Nothing compiles: the lists alone, and a warning.
      {entry("Tool|C-Compiler|cmd", "if [ &quot;0&quot; = &quot;1&quot; ]; then ccppc " + compile + "; fi"),
       "", {{"LISTED", ""}}, 0, 2,
       {"Warning: no command of the C-Compiler recipe of the build description can be told to "
        "compile the source; its lists are taken alone"}},
      {entry("Tool|C-Compiler|cmd", "ccppc -c ctdt.c " + compile.substr(0, compile.find(" -c")) +
                                         "; apicheck.sh -s %InFile%"),
       "", {{"LISTED", ""}}, 0, 2,
       {"Warning: no command of the C-Compiler recipe of the build description can be told to "
        "compile the source; its lists are taken alone"}},
      {entry("Tool|C-Compiler|cmd", "ccppc -c %InFile%; echo %Defines% %Includes%"), "ccppc", {},
       1, 2,
       {"Warning: the command of the C-Compiler recipe of the build description that compiles "
        "the source takes neither its include nor its define list"}},
  };
  for (const Case& one : cases) {
    root = FileGroup();
    const RealProjectResult result = read(one.description + lists);
    EXPECT_EQ(result.cProgram, one.program) << one.description;
    EXPECT_EQ(result.cMacros, one.macros) << one.description;
    EXPECT_EQ(root.includePaths, (Strings{"/inc"})) << one.description;
    EXPECT_EQ(warnings, one.warnings) << one.description;
    EXPECT_EQ(result.cChosen.command, one.command) << one.description;
    EXPECT_EQ(result.cChosen.commands, one.commands) << one.description;
    EXPECT_EQ(result.cChosen.maybe, one.description.find("if [ -d") != std::string::npos);
    // "-c" takes the source as a word of its own; nothing of the shell's
    // syntax, other commands or comments is a word.
    const auto& words = result.cWords;
    const auto source = std::find(words.begin(), words.end(), "$<");
    ASSERT_NE(source, words.end()) << one.description;
    EXPECT_EQ(*std::prev(source), "-c") << one.description;
    for (const char* stray : {"then", "fi", ";", "tee", "2>&1", "#", "-DCOMMENTED", "echo", "("}) {
      EXPECT_EQ(std::count(words.begin(), words.end(), stray), 0) << stray << one.description;
    }
  }
}

// Every database entry compiles its file: "-c" and the source end the
// words where the recipe names none, "-o" and the object where it names
// none; a language without a command runs the writer's default program
// with its lists and flags, never the other language's.
TEST_F(RealProject, EveryEntryCompilesItsFile) {
  const std::string lists = list("Incl|", {"-I/inc"}) + list("Definess|", {"-DLISTED"});
  const struct {
    std::string commands;
    Strings c, cxx;
  } cases[] = {
      {entry("Tool|C-Compiler|cmd", "ccppc -g -c") + entry("Tool|C++-Compiler|cmd", "c++ppc -c"),
       {"ccppc", "-g", "-DLISTED", "-I/inc", "-o", "$@", "-c", "$<"},
       {"c++ppc", "-DLISTED", "-I/inc", "-o", "$@", "-c", "$<"}},
      {entry("Tool|C-Compiler|cmd", "cc -DX") + entry("Tool|C++-Compiler|cmd", "c++ -c %InFile%"),
       {"cc", "-DX", "-DLISTED", "-I/inc", "-o", "$@", "-c", "$<"},
       {"c++", "-c", "$<", "-DLISTED", "-I/inc", "-o", "$@"}},
      {entry("Tool|C-Compiler|flags", "-O2") +
           entry("Tool|C++-Compiler|cmd", "c++ppc %Defines% -o %OutFile% -c %InFile%"),
       {"", "-O2", "-DLISTED", "-I/inc", "-o", "$@", "-c", "$<"},
       {"c++ppc", "-DLISTED", "-o", "$@", "-c", "$<", "-I/inc"}},
  };
  for (const auto& one : cases) {
    root = FileGroup();
    const RealProjectResult result = read(one.commands + lists);
    EXPECT_EQ(result.cWords, one.c) << one.commands;
    EXPECT_EQ(result.cxxWords, one.cxx) << one.commands;
    EXPECT_EQ(result.cProgram, one.c[0]) << one.commands;
  }
}

// The converter's own folders are one word each, whatever they hold; a
// value given with -var or from the environment is split at its white
// space where make splits it, and named in a warning.
TEST_F(RealProject, ThePathsTheConverterDefinesStayWhole) {
  projectFolder = FakeFolders::native("/p/Bob's work/App");
  folders.file("/p/Bob's work/App/main.c");
  options.variables = {{"SPACED", "-O2 -DFROM_VAR=1"}, {"QUOTED", "/opt/a b"}};
  const struct {
    std::string command;
    std::string program;
    Macros macros;
    Strings includes;
    Strings warnings;
  } cases[] = {
      {"$(PRJ_ROOT_DIR)/bin/cc -DROOT=$(PRJ_ROOT_DIR) -DWS=&quot;$(WS_ROOT_DIR)&quot; "
       "-I$(PRJ_ROOT_DIR)/h -c %InFile%",
       "/p/Bob's work/App/bin/cc",
       {{"ROOT", "/p/Bob's work/App"}, {"WS", "/cwd/ws"}},
       {"/p/Bob's work/App/h"},
       {}},
      {"cc $(SPACED) &quot;-I$(QUOTED)/h&quot; -I$(SDK_HOME)/h -c %InFile%",
       "cc",
       {{"FROM_VAR", "1"}},
       {"/opt/a b/h", "/opt/wind"},  // and "river/h", a word of its own
       {"Warning: the value of SPACED holds white space and is split into words where a compile "
        "command names it, as make splits it",
        "Warning: the value of SDK_HOME holds white space and is split into words where a "
        "compile command names it, as make splits it"}},
  };
  for (const auto& one : cases) {
    root = FileGroup();
    const RealProjectResult result = read(entry("Tool|C-Compiler|cmd", one.command));
    EXPECT_EQ(result.cProgram, one.program) << one.command;
    EXPECT_EQ(result.cMacros, one.macros) << one.command;
    EXPECT_EQ(root.includePaths, one.includes) << one.command;
    EXPECT_EQ(warnings, one.warnings) << one.command;
  }
  // The variables as a description shows them: as they are.
  const RealProjectResult result = read(entry("Tool|C-Compiler|cmd", "cc $(SPACED) -I$(PRJ_ROOT_DIR)"));
  for (const auto& variable : result.variables) {
    if (variable.name == "PRJ_ROOT_DIR") EXPECT_EQ(variable.value, "/p/Bob's work/App");
    if (variable.name == "SPACED") EXPECT_EQ(variable.value, "-O2 -DFROM_VAR=1");
  }
}

// A sub-project's files take its own settings, from its own .wrproject: the
// build spec named like the project's where it has one, else its default;
// its own macros, folder, build folder and object folder. Without a
// .wrproject they keep the project's, and a warning names it. A variable
// both leave unresolved is one warning.
TEST_F(RealProject, ASubprojectsFilesTakeItsOwnSettings) {
  const std::string app =
      entry("defaultSpec", "gnu") + list("specs", {"diab", "gnu"}) +
      list("Incl|gnu", {"-I$(WIND_HOME)/vx"}) + list("Definess|gnu", {"-DAPP_BUILD"}) +
      entry("Tool|C-Compiler|cmd|gnu", "ccarm %Defines% %Includes% -o %OutFile% -c %InFile%") +
      subprojects({"/Lib"});
  const std::string libDiab =
      list("Definess|diab", {"-DLIB_DIAB"}) +
      entry("Tool|C-Compiler|cmd|diab", "dcc %Defines% -c %InFile%");
  const std::string libGnu =
      entry("redirDir|gnu", "out/gnu") +
      list("Incl|gnu", {"-I$(PRJ_ROOT_DIR)/h", "-Iinc", "-I%Proj-Lib%/p", "-I$(WIND_HOME)/h"}) +
      list("Definess|gnu", {"-DLIB_GNU -DSPEC=$(BUILD_SPEC)"}) + entry("Macro|CPU|value|gnu", "ARMEL") +
      entry("Tool|C-Compiler|cmd|gnu",
            "ccarm -DCPU=$(CPU) %Defines% %Includes% -o %OutFile% -c %InFile%");
  const std::string lib = at("/cwd/ws/Lib");
  const std::string noDescription =
      "Warning: referenced project Lib has no readable .wrproject, its files take the project's "
      "settings";
  const auto windHome = [](int paths) {
    return "Warning: unresolved variable WIND_HOME in " + std::to_string(paths) +
           " include paths (give it with -var WIND_HOME=...)";
  };
  struct Case {
    const char* what;
    std::optional<std::string> description;  // Lib's .wrproject; none: it has none
    std::string spec;                         // the build spec read there
    Macros macros;
    Macros cxxMacros;  // no C++ command: the lists alone
    Strings words;
    std::string objectFolder;
    Strings warnings;
  } cases[] = {
      {"a build spec of the project's name", entry("defaultSpec", "diab") +
           list("specs", {"diab", "gnu"}) + libDiab + libGnu, "gnu",
       {{"CPU", "ARMEL"}, {"LIB_GNU", ""}, {"SPEC", "gnu"}}, {{"LIB_GNU", ""}, {"SPEC", "gnu"}},
       {"ccarm", "-DCPU=ARMEL", "-DLIB_GNU", "-DSPEC=gnu", "-I/cwd/ws/Lib/h",
        "-I" + at("/cwd/ws/Lib/out/gnu/inc"), "-I" + lib + "/p", "-I$(WIND_HOME)/h", "-o",
        "$@", "-c", "$<"},
       // The output folder joined as the build description writes it.
       path::join(at("/cwd/ws/Lib"), "out/gnu"), {windHome(2)}},
      {"its default only", entry("defaultSpec", "diab") + list("specs", {"diab"}) + libDiab, "diab",
       {{"LIB_DIAB", ""}}, {{"LIB_DIAB", ""}}, {"dcc", "-DLIB_DIAB", "-c", "$<", "-o", "$@"}, at("/cwd/ws/Lib/diab"),
       {"Warning: unresolved variable WIND_HOME in 1 include path (give it with -var "
        "WIND_HOME=...)"}},
      {"no .wrproject", std::nullopt, "", {}, {}, {}, "", {noDescription, windHome(1).replace(
                                                          windHome(1).find("paths"), 5, "path")}},
  };
  for (const Case& one : cases) {
    SCOPED_TRACE(one.what);
    root = FileGroup();
    descriptions.clear();
    if (one.description) descriptions[at("ws/Lib/.wrproject")] = *one.description;
    const RealProjectResult result = read(app);
    EXPECT_EQ(root.macros, (Macros{{"APP_BUILD", ""}})) << "the personality stays the project's";
    EXPECT_EQ(warnings, one.warnings);
    ASSERT_EQ(result.subprojects.size(), 1u);
    EXPECT_EQ(result.subprojects[0].name, "Lib");
    EXPECT_EQ(result.subprojects[0].group, root.subGroups.back().get());
    if (!one.description) {
      EXPECT_TRUE(result.otherSettings.empty());
      EXPECT_TRUE(result.settingsOfFile.empty()) << "its files take the project's settings";
      continue;
    }
    ASSERT_EQ(result.otherSettings.size(), 1u);
    const OtherSettings& other = result.otherSettings[0];
    EXPECT_EQ(other.owner, "Lib");
    EXPECT_EQ(other.spec, one.spec);
    EXPECT_EQ(other.cMacros, one.macros);
    EXPECT_EQ(other.cxxMacros, one.cxxMacros);
    EXPECT_EQ(other.cWords, one.words);
    EXPECT_EQ(other.objectFolder, one.objectFolder);
    EXPECT_EQ(result.settingsOfFile,
              (std::unordered_map<std::string, std::size_t>{{at("ws/Lib/lib.c"), 0}}));
  }
}

}  // namespace
