#include "writing/personality_files.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "model/failure.h"
#include "note_lines.h"
#include "text/path.h"
#include "temp_dir.h"
#include "writing/run_outputs.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = path::separator();

class Personalities : public ::testing::Test {
 protected:
  Personalities() { dir.makeFolder("out/person"); }
  std::string person(const std::string& file) {
    return dir.str("out") + sep + "person" + sep + file;
  }
  // Takes the given file as the group writer does, writes the analyser
  // personality of `root` and puts it in place.
  std::string analyser() {
    NoteLines notes;
    files.analyserSource = &root;
    readGivenAnalyserPersonality(layout, files, notes.sink());
    PendingFiles pending;
    writePersonalityFiles(files, layout, pending, notes.sink());
    pending.commit();
    printed = notes.text;
    return readFile(person("App.p_a"));
  }
  void give(const std::string& path) {
    files = PersonalityFiles();
    layout.readGivenAnalyserPersonality = [path]() -> std::optional<std::string> {
      if (!fs::is_regular_file(path)) return std::nullopt;
      return readFile(path);
    };
  }

  TempDir dir;
  ProjectLayout layout{dir.str("out"), "ws", "App", "", "", nullptr};
  FileGroup root;
  PersonalityFiles files;
  std::string printed;
};

TEST_F(Personalities, IncludesThenSortedMacrosThenTheGivenFileWithCrLfLineEnds) {
  root.includePaths = {"C:\\ws\\inc", "C:/ws/App/h", "with\"quote"};
  root.macros = {{"DEBUG", ""}, {"CPU", "PPC32"}, {"B", "1"}, {"a", ""}, {"AB", ""}};
  dir.writeFile("given.p_a", "first\nsecond\r\nlone\rcr\r\n\nlast");
  give(dir.str("given.p_a"));
  EXPECT_EQ(analyser(),
            "-i \"C:\\ws\\inc\"\r\n-i \"C:/ws/App/h\"\r\n-i \"with\"quote\"\r\n"
            "-d \"AB\"\r\n-d \"B=1\"\r\n-d \"CPU=PPC32\"\r\n-d \"DEBUG\"\r\n-d \"a\"\r\n"
            "first\r\nsecond\r\nlone\rcr\r\n\r\nlast");
  EXPECT_EQ(printed, "");
}

TEST_F(Personalities, TheGivenFileMayBeTheProducedOneItself) {
  dir.writeFile("out/person/App.p_a", "kept\n");
  root.includePaths = {"inc"};
  give(person("App.p_a"));
  EXPECT_EQ(analyser(), "-i \"inc\"\r\nkept\r\n");
  give(person("App.p_a"));  // the next run reads what this one wrote
  EXPECT_EQ(analyser(), "-i \"inc\"\r\n-i \"inc\"\r\nkept\r\n");
}

TEST_F(Personalities, AGivenFileThatCannotBeReadIsReportedAndLeftOut) {
  root.macros = {{"M", ""}};
  give(dir.str("missing.p_a"));
  EXPECT_EQ(analyser(), "-d \"M\"\r\n");
  EXPECT_EQ(printed, "Couldnt open file\n");
}

TEST_F(Personalities, OnlyTheFilesTheBlocksNameAreMade) {
  files.emptyMessage = true;
  analyser();
  EXPECT_TRUE(fs::exists(person("App.p_s")));
  EXPECT_FALSE(fs::exists(person("App.p_c")));
  EXPECT_EQ(readFile(person("App.p_a")), "");
}

TEST_F(Personalities, EmptyPersonalitiesThatCannotBeMadeFailWithTheirPath) {
  for (const auto& [name, kind] : {std::pair{"App.p_s", OutputKind::MessagePersonality},
                                    std::pair{"App.p_c", OutputKind::CompilerPersonality}}) {
    TempDir other;
    other.makeFolder(std::string("out/person/") + name);
    ProjectLayout there = layout;
    there.destFolder = other.str("out");
    PersonalityFiles both;
    both.emptyMessage = both.emptyCompiler = true;
    PendingFiles pending;
    try {
      writePersonalityFiles(both, there, pending, ignoreNotes());
      ADD_FAILURE() << "made " << name;
    } catch (const IOERROR& error) {
      EXPECT_EQ(error.kind, FailureKind::CannotWriteFile);
      EXPECT_EQ(error.subject, personalityFile(there, kind));
    }
  }
}

}  // namespace
