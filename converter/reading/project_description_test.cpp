#include "reading/project_description.h"

#include <gtest/gtest.h>

#include "model/failure.h"

namespace {

using Names = std::vector<std::string>;

// Reads `content` as a project description; `token` names what was refused.
struct Read {
  explicit Read(const std::string& content) {
    try {
      description = parseProjectDescription(content);
      ok = true;
    } catch (const XMLReaderError& error) {
      if (error.kind != FailureKind::UnexpectedToken) throw;
      token = error.subject;
    }
  }
  ProjectDescription description;
  bool ok = false;
  std::string token;
};

std::string described(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<projectDescription>\n" + inner +
         "</projectDescription>\n";
}

TEST(ProjectDescription, MinimalDocumentNamesNothing) {
  Read read(described("<projects></projects>"));
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.description.name, "");
  EXPECT_TRUE(read.description.referencedProjects.empty());
}

TEST(ProjectDescription, NameAndProjectsInOrderWithRepeats) {
  Read read(described("<name>MyProj</name><comment>c</comment>"
                      "<projects><project>A</project><project></project>"
                      "<project>A</project></projects>"));
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.description.name, "MyProj");
  EXPECT_EQ(read.description.referencedProjects, (Names{"A", "", "A"}));
}

TEST(ProjectDescription, AnEmptyNameElementNamesNothing) {
  for (const std::string name : {"<name></name>", "<name> \n </name>"}) {
    Read read(described(name + "<projects></projects>"));
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.description.name, "");
  }
}

// Some Windows editors save a byte order mark; other tools write an empty
// comment as an empty-element tag.
TEST(ProjectDescription, AByteOrderMarkAndAnEmptyCommentTagAreRead) {
  Read read("\xEF\xBB\xBF" + described("<name>App</name><comment/><projects><project>L</project>"
                                      "</projects>"));
  EXPECT_TRUE(read.ok) << read.token;
  EXPECT_EQ(read.description.name, "App");
  EXPECT_EQ(read.description.referencedProjects, (Names{"L"}));
  // Only a whole mark is passed over.
  Read broken("\xEF\xBB" + described("<projects></projects>"));
  EXPECT_FALSE(broken.ok);
  EXPECT_EQ(broken.token, "\xEF\xBB");
}

TEST(ProjectDescription, ShapesThatAreRefusedNameTheirToken) {
  struct Case {
    std::string content;
    std::string token;
  };
  for (const Case& c : std::vector<Case>{
           {described("<projects/>"), "projects/"},
           {described("<comment>c</comment><name>N</name><projects></projects>"), "name"},
           {described("<projects><project><!-- x -->A</project></projects>"), "A"},
           {"\xEF\xBB\xBF\xEF\xBB\xBF" + described("<projects></projects>"), "\xEF\xBB\xBF"},
           {"<description><projects></projects></description>", "description"},
           {described("<natures></natures>"), "natures"},
           {described("<projects></projects>stray text"), "stray text"},
       }) {
    Read read(c.content);
    EXPECT_FALSE(read.ok) << c.content;
    EXPECT_EQ(read.token, c.token);
  }
}

TEST(ProjectDescription, WithoutBuildSpecAndNatures) {
  Read read(described("<name>N</name><projects><project>L</project></projects>"));
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.description.referencedProjects, (Names{"L"}));
}

// The shapes Eclipse and Workbench really write.
TEST(ProjectDescription, AcceptsWhatWorkbenchWrites) {
  Read read(described(R"(	<name>App</name>
	<comment></comment>
	<projects>
		<project>Lib</project>
	</projects>
	<buildSpec>
		<buildCommand>
			<name>org.eclipse.cdt.managedbuilder.core.genmakebuilder</name>
			<triggers>clean,full,incremental,</triggers>
			<arguments>
				<dictionary>
					<key>?name?</key>
					<value></value>
				</dictionary>
				<dictionary><key>k</key><value>v</value></dictionary>
			</arguments>
		</buildCommand>
		<buildCommand>
			<name>org.eclipse.cdt.managedbuilder.core.ScannerConfigBuilder</name>
			<arguments>
			</arguments>
		</buildCommand>
	</buildSpec>
	<natures>
		<nature>org.eclipse.cdt.core.cnature</nature>
	</natures>
	<linkedResources>
		<link>
			<name>src</name>
			<type>2</type>
			<locationURI>PARENT-1-PROJECT_LOC/src</locationURI>
		</link>
	</linkedResources>
	<filteredResources><filter><id>1</id><matcher><arguments/></matcher></filter></filteredResources>
	<variableList><variable><name>V</name><value>x</value></variable></variableList>
)"));
  EXPECT_TRUE(read.ok) << read.token;
  EXPECT_EQ(read.description.name, "App");
  EXPECT_EQ(read.description.referencedProjects, (Names{"Lib"}));
}

TEST(ProjectDescription, EndOfFileInsideAPassedOverElement) {
  EXPECT_THROW(Read(described("<projects></projects><linkedResources><link>")),
               XMLReaderError);
  EXPECT_THROW(Read("<projectDescription><projects></projects><linkedResources><link>"),
               XMLReaderError);
}

}  // namespace
