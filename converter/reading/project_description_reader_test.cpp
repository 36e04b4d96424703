#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/errors.h"
#include "temp_dir.h"

namespace {

using Names = std::vector<std::string>;

// Reads `content` as a project description into a fresh job.
struct Read {
  explicit Read(const std::string& content, const std::string& presetName = "") {
    dir.writeFile(".project", content);
    job.projectName = presetName;
    job.reader.open(dir.str(".project"));
    ok = job.readProjectDescription();
  }
  TempDir dir;
  ConversionJob job{"p", "w", "ws", "d"};
  bool ok;
};

std::string described(const std::string& inner) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<projectDescription>\n" + inner +
         "</projectDescription>\n";
}

TEST(ProjectDescription, MinimalDocumentKeepsThePresetName) {
  Read read(described("<projects></projects>"), "FromOption");
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.job.projectName, "FromOption");
  EXPECT_TRUE(read.job.referencedProjects.empty());
}

TEST(ProjectDescription, NameReplacesTheOptionAndProjectsKeepOrderAndRepeats) {
  Read read(described("<name>MyProj</name><comment>c</comment>"
                      "<projects><project>A</project><project></project>"
                      "<project>A</project></projects>"),
            "Other");
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.job.projectName, "MyProj");
  EXPECT_EQ(read.job.referencedProjects, (Names{"A", "", "A"}));
}

// An empty name would name the project "" and spread its folders into the
// destination: the name given with -pn stays.
TEST(ProjectDescription, AnEmptyNameElementKeepsThePresetName) {
  for (const std::string name : {"<name></name>", "<name> \n </name>"}) {
    Read read(described(name + "<projects></projects>"), "Other");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.job.projectName, "Other");
  }
  Read none(described("<name></name><projects></projects>"));
  EXPECT_EQ(none.job.projectName, "");
}

// Some Windows editors save a byte order mark; other tools write an empty
// comment as an empty-element tag.
TEST(ProjectDescription, AByteOrderMarkAndAnEmptyCommentTagAreRead) {
  Read read("\xEF\xBB\xBF" + described("<name>App</name><comment/><projects><project>L</project>"
                                      "</projects>"));
  EXPECT_TRUE(read.ok) << read.job.reader.currentToken();
  EXPECT_EQ(read.job.projectName, "App");
  EXPECT_EQ(read.job.referencedProjects, (Names{"L"}));
  // Only a whole mark is passed over.
  Read broken("\xEF\xBB" + described("<projects></projects>"));
  EXPECT_FALSE(broken.ok);
  EXPECT_EQ(broken.job.reader.currentToken(), "\xEF\xBB");
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
    EXPECT_TRUE(read.job.reader.isGood());
    EXPECT_EQ(read.job.reader.currentToken(), c.token);
  }
}

TEST(ProjectDescription, WithoutBuildSpecAndNatures) {
  Read read(described("<name>N</name><projects><project>L</project></projects>"));
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.job.referencedProjects, (Names{"L"}));
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
  EXPECT_TRUE(read.ok) << read.job.reader.currentToken();
  EXPECT_EQ(read.job.projectName, "App");
  EXPECT_EQ(read.job.referencedProjects, (Names{"Lib"}));
}

TEST(ProjectDescription, EndOfFileInsideAPassedOverElement) {
  EXPECT_THROW(Read(described("<projects></projects><linkedResources><link>")),
               XMLReaderError);
  EXPECT_THROW(Read("<projectDescription><projects></projects><linkedResources><link>"),
               XMLReaderError);
}

}  // namespace
