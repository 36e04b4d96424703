#include "reading/workbench_facts.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

WorkbenchFacts factsOf(const std::string& text) {
  WorkbenchFacts facts;
  WorkbenchFactsReader reader(facts);
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) reader.line(line);
  return facts;
}

TEST(Entities, AttributeValuesAreFoundByTheirWholeName) {
  std::string value;
  EXPECT_TRUE(attributeValue("<a key=\"k\" value=\"x &amp; y\"/>", "value", value));
  EXPECT_EQ(value, "x & y");
  EXPECT_TRUE(attributeValue("<a defaultvalue=\"no\" value=\"yes\"/>", "value", value));
  EXPECT_EQ(value, "yes");
  EXPECT_FALSE(attributeValue("<a valuex=\"no\"/>", "value", value));
}

TEST(WorkbenchFacts, SpecsOutputFoldersDefinesAndCompilers) {
  const WorkbenchFacts facts = factsOf(
      "<stringAttribute key=\"BLD::Info|defaultSpec\" value=\"gnu\"/>\n"
      "<listAttribute key=\"BLD::Info|specs\">\n"
      "  <stringAttribute value=\"diab\"/>\n"
      "  <stringAttribute value=\"gnu\"/>\n"
      "</listAttribute>\n"
      "<stringAttribute key=\"BLD::Info|redirDir|gnu\" value=\"out_gnu\"/>\n"
      "<listAttribute key=\"BLD::Info|Definess|gnu\">\n"
      "  <stringAttribute value=\"-DA=\\&quot;x\\&quot;\"/>\n"
      "  <stringAttribute value=\" \"/>\n"
      "</listAttribute>\n"
      "<listAttribute key=\"BLD::Info|Definess|diab\"/>\n"
      "<stringAttribute value=\"-DOUTSIDE\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd|gnu\" value=\"c++ppc -c\"/>\n"
      "<stringAttribute key=\"BLD::Info|specsX\" value=\"no\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|flags|gnu\" value=\"$(CC_ARCH_SPEC) -mrtp\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|dbgFlags|gnu\" value=\"-g\"/>\n"
      "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|objects|gnu\" value=\"no\"/>\n");
  EXPECT_EQ(facts.defaultSpec, "gnu");
  EXPECT_EQ(facts.specs, (std::vector<std::string>{"diab", "gnu"}));
  ASSERT_EQ(facts.outputFolders.size(), 1u);
  EXPECT_EQ(facts.outputFolders[0].spec, "gnu");
  EXPECT_EQ(facts.outputFolders[0].value, "out_gnu");
  ASSERT_EQ(facts.defines.size(), 2u) << "an empty-element list holds nothing";
  EXPECT_EQ(facts.defines[0].spec, "gnu");
  EXPECT_EQ(facts.defines[0].value, "-DA=\\\"x\\\"");
  EXPECT_EQ(facts.defines[1].value, " ");
  ASSERT_EQ(facts.cxxCommands.size(), 1u);
  EXPECT_EQ(facts.cxxCommands[0].value, "c++ppc -c");
  ASSERT_EQ(facts.toolFlags.size(), 2u);
  EXPECT_EQ(facts.toolFlags[0].tool + "|" + facts.toolFlags[0].part + "|" + facts.toolFlags[0].spec +
                "=" + facts.toolFlags[0].value,
            "C-Compiler|flags|gnu=$(CC_ARCH_SPEC) -mrtp");
  EXPECT_EQ(facts.toolFlags[1].tool + "|" + facts.toolFlags[1].part, "C++-Compiler|dbgFlags");
}

TEST(WorkbenchFacts, BuildTargetsWithTheirFoldersAndExcludes) {
  const WorkbenchFacts facts = factsOf(
      "<buildtargets>\n"
      "  <buildtarget name=\"app\" type=\"DKM\">\n"
      "    <contents>\n"
      "      <folder name=\"/P\" recursive=\"true\">\n"
      "        <excludes>\n"
      "          <file name=\"test.c\"/>\n"
      "        </excludes>\n"
      "      </folder>\n"
      "      <folder name=\"/P/lib\"/>\n"
      "      <file name=\"/P/Autonomous.cpp\"/>\n"
      "      <buildtargetreference name=\"/P/partial\"/>\n"
      "    </contents>\n"
      "    <excludes><file name=\"/P/gen.c\"/></excludes>\n"
      "  </buildtarget>\n"
      "  <buildtarget name=\"test\"><folder name=\"/P\"><excludes><file name=\"app.c\"/>"
      "</excludes></folder></buildtarget>\n"
      "</buildtargets>\n"
      "<buildtarget name=\"outside\"/>\n");
  ASSERT_EQ(facts.targets.size(), 2u);
  const BuildTarget& app = facts.targets[0];
  EXPECT_EQ(app.name, "app");
  ASSERT_EQ(app.folders.size(), 3u);
  EXPECT_EQ(app.folders[0].name, "/P");
  EXPECT_TRUE(app.folders[0].recursive);
  EXPECT_EQ(app.folders[0].excludes, std::vector<std::string>{"test.c"});
  EXPECT_EQ(app.folders[1].name, "/P/lib");
  EXPECT_FALSE(app.folders[1].recursive);
  EXPECT_EQ(app.folders[2].name, "") << "excludes of the target as a whole";
  EXPECT_EQ(app.folders[2].excludes, std::vector<std::string>{"/P/gen.c"});
  EXPECT_EQ(app.files, std::vector<std::string>{"/P/Autonomous.cpp"});
  EXPECT_EQ(app.references, std::vector<std::string>{"/P/partial"});
  ASSERT_EQ(facts.targets[1].folders.size(), 1u);
  EXPECT_EQ(facts.targets[1].folders[0].excludes, std::vector<std::string>{"app.c"});
}

// Each target's attributes, and those of the files and folders of its
// contents, as "T: KEY=VALUE", "T /P/src: KEY=[A, B]"; then the project's
// own defines, C++ commands and flags, which none of them may join.
std::vector<std::string> attributesOf(const WorkbenchFacts& facts) {
  std::vector<std::string> said;
  const auto say = [&](const std::string& where, const OwnAttributes& own) {
    for (const auto& [key, value] : own.values) said.push_back(where + ": " + key + "=" + value);
    for (const auto& list : own.lists) {
      std::string values;
      for (const auto& value : list.values) values += (values.empty() ? "" : ", ") + value;
      said.push_back(where + ": " + list.key + "=[" + values + "]");
    }
  };
  for (const auto& target : facts.targets) {
    std::string files;
    for (const auto& file : target.files) files += " " + file;
    said.push_back(target.name + " files:" + files);
    say(target.name, target.attributes);
    for (const auto& folder : target.folders) say(target.name + " " + folder.name, folder.attributes);
    for (const auto& file : target.fileAttributes) say(target.name + " " + file.name, file.attributes);
  }
  for (const auto& define : facts.defines) said.push_back("project define: " + define.value);
  for (const auto& command : facts.cxxCommands) said.push_back("project C++: " + command.value);
  for (const auto& flags : facts.toolFlags) said.push_back("project flags: " + flags.value);
  return said;
}

// Attributes inside <buildtargets> are the target's, a folder's or a file's
// of its contents, however the elements are spread over the lines; the
// project's entries around them stay the project's.
TEST(WorkbenchFacts, BuildTargetsFoldersAndFilesHaveAttributesOfTheirOwn) {
  using Strings = std::vector<std::string>;
  const std::string flags = "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|flags|S\" value=\"-O2\"/>";
  const std::string includes =
      "<listAttribute key=\"BLD::Info|Incl|S\"><stringAttribute value=\"-I/a\"/>"
      "<stringAttribute value=\"-I$(B)\"/></listAttribute>";
  const std::string macro = "<stringAttribute key=\"BLD::Info|Macro|X|value|S\" value=\"1\"/>";
  const auto attributes = [](const std::string& inside) {
    return "<attributes><mapAttribute>" + inside + "</mapAttribute></attributes>";
  };
  // The same target on one line and with every tag on a line of its own.
  const std::string oneLine =
      "<buildtarget name=\"T\" buildtool=\"Linker\">" + attributes(flags) + "<contents>"
      "<folder name=\"/P/src\" recursive=\"true\">" + attributes(includes) +
      "<excludes><file name=\"old.c\"/></excludes></folder>"
      "<file name=\"/P/x.cpp\">" + attributes(macro) + "</file>"
      "<file name=\"/P/y.cpp\"/></contents></buildtarget>";
  std::string spread;
  for (std::size_t at = 0; at < oneLine.size(); at = oneLine.find('<', at + 1)) {
    spread += oneLine.substr(at, oneLine.find('<', at + 1) - at) + "\n";
  }
  const Strings expected{"T files: /P/x.cpp /P/y.cpp", "T: Tool|C++-Compiler|flags|S=-O2", "T /P/src: Incl|S=[-I/a, -I$(B)]",
                         "T /P/x.cpp: Macro|X|value|S=1", "project define: -DOWN",
                         "project C++: c++ppc"};
  struct Case {
    const char* name;
    std::string text;
    Strings said;
  } cases[] = {
      {"one line", "<buildtargets>" + oneLine + "</buildtargets>\n", expected},
      {"a tag a line", "<buildtargets>\n" + spread + "</buildtargets>\n", expected},
      {"the project's around them on their lines",
       "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|flags|S\" value=\"-g\"/><buildtargets>\n" +
           spread + "</buildtargets>" +
           "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|flags|S\" value=\"-w\"/>\n",
       {"T files: /P/x.cpp /P/y.cpp", "T: Tool|C++-Compiler|flags|S=-O2",
        "T /P/src: Incl|S=[-I/a, -I$(B)]", "T /P/x.cpp: Macro|X|value|S=1", "project flags: -g",
        "project flags: -w"}},
      {"a defines list, an empty list, a value holding \">\", a file without attributes",
       "<buildtargets><buildtarget name=\"U\"><attributes>\n"
       "<listAttribute key=\"BLD::Info|Definess|S\">\n<stringAttribute value=\"-DA\"/>\n"
       "</listAttribute><listAttribute key=\"BLD::Info|Incl|S\"/>\n"
       "<stringAttribute key=\"BLD::Info|Tool|C-Compiler|cmd|S\" value=\"cc 2>&amp;1 -c\"/>\n"
       "</attributes><contents><file name=\"/P/z.c\"><attributes/></file></contents>\n"
       "</buildtarget></buildtargets>\n",
       {"U files: /P/z.c", "U: Tool|C-Compiler|cmd|S=cc 2>&1 -c", "U: Definess|S=[-DA]",
        "U: Incl|S=[]"}},
  };
  for (const Case& one : cases) {
    std::string text = one.text;
    if (one.said == expected) {
      text += "<stringAttribute key=\"BLD::Info|Tool|C++-Compiler|cmd|S\" value=\"c++ppc\"/>\n"
              "<listAttribute key=\"BLD::Info|Definess|S\">\n<stringAttribute value=\"-DOWN\"/>\n"
              "</listAttribute>\n";
    }
    EXPECT_EQ(attributesOf(factsOf(text)), one.said) << one.name;
  }
  EXPECT_EQ(factsOf("<buildtargets>" + oneLine + "</buildtargets>\n").targets[0].buildTool, "Linker");
}

}  // namespace
