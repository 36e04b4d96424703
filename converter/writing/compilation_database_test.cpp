#include "writing/compilation_database.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "model/failure.h"
#include "note_lines.h"
#include "platform/platform.h"
#include "text/path.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

class CompilationDatabase : public ::testing::Test {
 protected:
  // The database of `root`, or "" when the write threw; the warnings in `warnings`.
  std::string write() {
    PendingFiles pending;
    NoteLines notes;
    writeCompilationDatabase(root, layout, pending, notes.sink());
    for (std::string& line : notes.lines) {
      (line.starts_with("Warning: ") ? warnings : steps).push_back(std::move(line));
    }
    pending.commit();
    return readFile(layout.path);
  }

  TempDir dir;
  CompilationDatabaseLayout layout{dir.str("db.json"), "/abs/ws", "ccppc", "c++ppc",
                                   [](const std::string& path) {
                                     return path.starts_with("/") ? path : "/abs/" + path;
                                   }};
  FileGroup root{"App"};
  std::vector<std::string> warnings;
  std::vector<std::string> steps;
};

TEST_F(CompilationDatabase, OneEntryPerSourceFileWithTheSharedSettings) {
  root.files = {"ws/io.c", "ws/board.h", "ws/main.cpp"};
  root.includePaths = {"ws/inc", "$(WIND_BASE)/target/h", "", "/opt/h"};
  root.macros = {{"A", ""}, {"MSG", "\"a b\\n\""}, {"", "dropped"}};
  FileGroup& lib = *root.subGroups.emplace_back(std::make_unique<FileGroup>("Lib"));
  lib.files = {"ws/Lib/lib.s", "ws/io.c", "ws/Lib/lib.C"};
  const std::string settings =
      "\"-I/abs/ws/inc\", \"-I$(WIND_BASE)/target/h\", \"-I/opt/h\", \"-DA\", "
      "\"-DMSG=\\\"a b\\\\n\\\"\", \"-c\", ";
  EXPECT_EQ(write(),
            "[\n"
            "  {\n    \"directory\": \"/abs/ws\",\n    \"file\": \"/abs/ws/io.c\",\n"
            "    \"arguments\": [\"ccppc\", " + settings + "\"/abs/ws/io.c\"]\n  },\n"
            "  {\n    \"directory\": \"/abs/ws\",\n    \"file\": \"/abs/ws/main.cpp\",\n"
            "    \"arguments\": [\"c++ppc\", " + settings + "\"/abs/ws/main.cpp\"]\n  },\n"
            "  {\n    \"directory\": \"/abs/ws\",\n    \"file\": \"/abs/ws/Lib/lib.C\",\n"
            "    \"arguments\": [\"c++ppc\", " + settings + "\"/abs/ws/Lib/lib.C\"]\n  }\n"
            "]\n");
  EXPECT_TRUE(warnings.empty());
  // Said before the writing: io.c, met twice, is one entry.
  EXPECT_EQ(steps, (std::vector<std::string>{"Writing compilation database: 3 entries"}));
}

// Where the languages' macros differ, each entry takes its own language's.
TEST_F(CompilationDatabase, EachLanguageTakesItsOwnMacros) {
  root.files = {"/a.c", "/b.cpp"};
  root.includePaths = {"/h"};
  const std::map<std::string, std::string> c{{"C", ""}}, cxx{{"CXX", "1"}};
  layout.cMacros = &c;
  layout.cxxMacros = &cxx;
  const std::string text = write();
  EXPECT_NE(text.find("[\"ccppc\", \"-I/h\", \"-DC\", \"-c\", \"/a.c\"]"), std::string::npos) << text;
  EXPECT_NE(text.find("[\"c++ppc\", \"-I/h\", \"-DCXX=1\", \"-c\", \"/b.cpp\"]"), std::string::npos)
      << text;
  EXPECT_TRUE(warnings.empty());
}

// A file whose settings are another set's takes that set's program, words
// and object folder; a file met again keeps the first set it was met with.
TEST_F(CompilationDatabase, EachFileTakesTheSettingsItIsGiven) {
  root.files = {"/p/a.c", "/p/b.cpp"};
  FileGroup& lib = *root.subGroups.emplace_back(std::make_unique<FileGroup>("Lib"));
  lib.files = {"/l/c.c", "/l/d.cpp", "/p/a.c"};
  const std::vector<std::string> own{"", "-DOWN", "-o", "$@", "-c", "$<"};
  const std::vector<std::string> libC{"dcc", "-DLIB", "-c", "$<"};
  const std::vector<std::string> empty;
  layout.cWords = &own;
  layout.cxxWords = &own;
  layout.objectFolder = "/p/obj";
  layout.others.push_back({"cc", "c++", nullptr, nullptr, &libC, &empty, "/l/obj"});
  layout.settingsOf = [](const std::string& path) {
    return path.starts_with("/l/") ? std::size_t{1} : std::size_t{0};
  };
  const std::string text = write();
  // The object is joined in the system's own way, as JSON writes it.
  const std::string sep = path::separator() == '\\' ? "\\\\" : "/";
  const std::string a = "[\"ccppc\", \"-DOWN\", \"-o\", \"/p/obj" + sep + "a.o\", \"-c\", \"/p/a.c\"]";
  const std::string b =
      "[\"c++ppc\", \"-DOWN\", \"-o\", \"/p/obj" + sep + "b.o\", \"-c\", \"/p/b.cpp\"]";
  const struct {
    const char* file;
    std::string arguments;
  } cases[] = {
      {"/p/a.c", a},
      {"/p/b.cpp", b},
      {"/l/c.c", "[\"dcc\", \"-DLIB\", \"-c\", \"/l/c.c\"]"},
      // No words for the language: the set's own program, lists and file.
      {"/l/d.cpp", "[\"c++\", \"-c\", \"/l/d.cpp\"]"},
  };
  for (const auto& one : cases) {
    const std::string entry = std::string("\"file\": \"") + one.file +
                              "\",\n    \"arguments\": " + one.arguments;
    EXPECT_NE(text.find(entry), std::string::npos) << one.file << "\n" << text;
  }
  EXPECT_EQ(steps, (std::vector<std::string>{"Writing compilation database: 4 entries"}));
}

TEST_F(CompilationDatabase, WithoutSourcesTheListIsEmpty) {
  root.files = {"ws/a.h"};
  EXPECT_EQ(write(), "[]\n");
}

// On Windows the system's texts are converted from the ANSI code page, in
// which these bytes are letters.
#ifndef _WIN32
TEST_F(CompilationDatabase, WhatIsNotUtf8IsLeftOutWithAWarning) {
  root.files = {"ws/a\xff.c", "ws/b.c"};
  root.includePaths = {"ws/\xfe"};
  root.macros = {{"M", "\xfd"}};
  EXPECT_EQ(write(),
            "[\n  {\n    \"directory\": \"/abs/ws\",\n    \"file\": \"/abs/ws/b.c\",\n"
            "    \"arguments\": [\"ccppc\", \"-c\", \"/abs/ws/b.c\"]\n  }\n]\n");
  const std::string left = "Warning: not UTF-8, left out of the compilation database: ";
  EXPECT_EQ(warnings, (std::vector<std::string>{left + "ws/\xfe", left + "M=\xfd",
                                                left + "/abs/ws/a\xff.c"}));
}

TEST_F(CompilationDatabase, ADirectoryOrCompilerNotUtf8EndsTheRunBeforeTheFileIsMade) {
  root.files = {"ws/b.c"};
  for (std::string* text : {&layout.directory, &layout.cCompiler}) {
    const std::string kept = *text;
    *text = "x\xff";
    PendingFiles pending;
    try {
      writeCompilationDatabase(root, layout, pending, ignoreNotes());
      ADD_FAILURE() << "no failure for " << *text;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind, FailureKind::NotUtf8);
      EXPECT_EQ(failure.subject, "x\xff");
    }
    *text = kept;
  }
  EXPECT_TRUE(fs::is_empty(dir.path()));
}
#endif

// The entries a database keeps are those it writes, each as written.
TEST_F(CompilationDatabase, TheEntriesKeptAreTheEntriesWritten) {
  root.files = {"a.c", "/abs/a.c", "b.txt", "c.cpp"};
  PendingFiles pending;
  std::vector<DatabaseEntry> kept;
  writeCompilationDatabase(root, layout, pending, ignoreNotes(), &kept);
  pending.commit();
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[0].file, "/abs/a.c");
  EXPECT_EQ(kept[1].file, "/abs/c.cpp");
  std::string written = "[";
  for (const auto& entry : kept) written += (written.size() == 1 ? "\n" : ",\n") + entry.json;
  EXPECT_EQ(readFile(layout.path), written + "\n]\n");
}

TEST(DatabaseEntries, TheUnionOfTheProjectsEntriesEachOnce) {
  const auto entry = [](const std::string& file, const std::string& by) {
    return DatabaseEntry{file, "  {\"file\": \"" + file + "\", \"by\": \"" + by + "\"}"};
  };
  const DatabaseEntry libA = entry("/ws/Lib/a.c", "Lib"), libAByApp = entry("/ws/Lib/a.c", "App"),
                      app = entry("/ws/App/m.c", "App");
  // The same file, as a project's groups may spell it.
  const std::vector<std::string> appEntersLib{"/ws//Lib/./a.c"};
  using Projects = std::vector<ProjectEntries>;
  const struct {
    Projects projects;
    std::vector<DatabaseEntry> merged;
  } cases[] = {
      {{}, {}},
      {{{}, {}}, {}},
      // One entry per file: the first project's whose own file it is, in
      // the place the file was first met.
      {{{{app, libAByApp}, appEntersLib}, {{libA}, {}}}, {app, libA}},
      {{{{libA}, {}}, {{app, libAByApp}, appEntersLib}}, {libA, app}},
      // Its owner not converted: the entry of the project that entered it.
      {{{{app, libAByApp}, appEntersLib}}, {app, libAByApp}},
      // Two projects that both call it their own: the first.
      {{{{app, libAByApp}, {}}, {{libA}, {}}}, {app, libAByApp}},
      // The same entry from two projects once.
      {{{{libA}, {}}, {}, {{libA, app}, {}}}, {libA, app}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> merged, expected;
    for (const DatabaseEntry* one : mergedEntries(c.projects)) merged.push_back(one->json);
    for (const DatabaseEntry& one : c.merged) expected.push_back(one.json);
    EXPECT_EQ(merged, expected);
  }
}

TEST(DatabaseEntries, WrittenAsOneList) {
  TempDir dir;
  const DatabaseEntry a{"/a.c", "  {\n    \"file\": \"/a.c\"\n  }"}, b{"/b.c", "  {}"};
  const struct {
    std::vector<const DatabaseEntry*> entries;
    std::string text;
  } cases[] = {
      {{}, "[]\n"},
      {{&a}, "[\n" + a.json + "\n]\n"},
      {{&a, &b}, "[\n" + a.json + ",\n" + b.json + "\n]\n"},
  };
  for (const auto& c : cases) {
    writeDatabaseEntries(dir.str("all.json"), c.entries);
    EXPECT_EQ(readFile(dir.str("all.json")), c.text);
  }
}

TEST(SourceLanguage, ComesFromTheExtension) {
  for (const char* c : {"a.c", "dir.cpp/a.c", "C:\\w\\a.c"}) EXPECT_EQ(languageOf(c), SourceLanguage::C) << c;
  for (const char* cxx : {"a.cc", "a.cp", "a.cpp", "a.cxx", "a.c++", "a.C", "a.CC", "a.CPP", "a.CXX"}) {
    EXPECT_EQ(languageOf(cxx), SourceLanguage::Cxx) << cxx;
  }
  for (const char* none : {"a.h", "a.hpp", "a.s", "a.S", "a", "dir.c/a", "dir.c\\a", "a.c.orig"}) {
    EXPECT_EQ(languageOf(none), SourceLanguage::None) << none;
  }
}

}  // namespace
