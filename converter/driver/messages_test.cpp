#include "driver/messages.h"

#include <gtest/gtest.h>
#include <set>

namespace {

Note note(NoteKind kind, std::string subject = {}, Note::Detail detail = {}) {
  return Note(kind, std::move(subject), std::move(detail));
}

// A variable note: the variable left in `includes` include paths and `macros` macro values.
Note left(NoteKind kind, std::string name, std::size_t includes, std::size_t macros = 0) {
  return Note(kind, std::move(name), Note::VariableLeft{{includes, macros}});
}

// Every text the converter shows, one row each: what the user reads is
// pinned here, whichever step gives it.
TEST(Messages, EveryProgressLineAndWarning) {
  const Note deep = note(NoteKind::VariableTooDeep, "N64", Note::VariableTooDeep{{1, 0}, 64});
  const Note longer = note(NoteKind::VariableTooLong, "BIG", Note::VariableTooLong{{0, 1}, 4, 256});
  const std::vector<std::string> seven = {"a", "b", "c", "d", "e", "f", "g"};
  const Note links = note(NoteKind::LinkedResourcesLeftOut, "App", Note::NameList{seven});
  const Note oneLink = note(NoteKind::LinkedResourcesLeftOut, "App", Note::NameList{{"src/x.c"}});
  const Note noDescription =
      note(NoteKind::SubprojectsWithoutBuildDescription, {}, Note::NameList{{"Lib"}});
  const Note noDescriptions =
      note(NoteKind::SubprojectsWithoutBuildDescription, {}, Note::NameList{seven});
  const Note cut = note(NoteKind::SearchCutShort, {}, Note::Counted{20000});
  const Note moreLoops = note(NoteKind::MoreBuildTargetLoops, {}, Note::Counted{12});
  const Note tooLong = note(NoteKind::CommandTooLong, "C-Compiler", Note::Megabytes{5});
  const Note manySettings =
      note(NoteKind::TooManyTargetSettings, {}, Note::SettingsLeftOver{3, 64});
  const Note untold = note(NoteKind::NoCompilingCommand, "C-Compiler", Note::OfSpec{"PPC32gnu"});
  const Note noLists = note(NoteKind::CompilerTakesNoLists, "C++-Compiler", Note::OfSpec{""});
  const auto counted = [](NoteKind kind, std::size_t number) {
    return note(kind, {}, Note::Counted{number});
  };
  const std::pair<Note, const char*> rows[] = {
      {note(NoteKind::CreatingProject), "Creating Olvex/Olvex++ Project ..."},
      {note(NoteKind::CreatingGroup, "App"), "  Creating Group - App"},
      {note(NoteKind::CreatingAnalyserPersonality, "/out/person/App.p_a"),
       "  Creating Analyser Personality - /out/person/App.p_a"},
      {note(NoteKind::ProjectCompleted), "Olvex/Olvex++ Project Completed!"},
      {note(NoteKind::GivenPersonalityUnreadable), "Couldnt open file"},
      // The long steps of the real-project mode.
      {counted(NoteKind::ScanningSubprojects, 1000), "Scanning sub-projects: 1000 projects"},
      {counted(NoteKind::ScanningSubprojects, 1), "Scanning sub-projects: 1 project"},
      {note(NoteKind::ScanningProjectFolder, "/ws/App"), "Scanning project folder: /ws/App"},
      {counted(NoteKind::WritingCompilationDatabase, 52005),
       "Writing compilation database: 52005 entries"},
      {counted(NoteKind::WritingCompilationDatabase, 1), "Writing compilation database: 1 entry"},
      {left(NoteKind::UnresolvedVariable, "WIND_BASE", 2),
       "Warning: unresolved variable WIND_BASE in 2 include paths (give it with -var WIND_BASE=...)"},
      {left(NoteKind::UnresolvedVariable, "B", 1, 1),
       "Warning: unresolved variable B in 1 include path and 1 macro value (give it with -var B=...)"},
      {left(NoteKind::UnresolvedVariable, "M", 0, 3),
       "Warning: unresolved variable M in 3 macro values (give it with -var M=...)"},
      {left(NoteKind::VariableRefersToItself, "LOOP", 1),
       "Warning: variable LOOP refers to itself, left as written in 1 include path"},
      {deep, "Warning: variable N64 lies more than 64 variables deep, left as written in 1 include path"},
      {longer,
       "Warning: variable BIG would grow a text past 4 MB (or all texts past 256 MB), left as written "
       "in 1 macro value"},
      {left(NoteKind::MalformedReference, "$(X", 1),
       "Warning: malformed variable reference $(X left as written in 1 include path"},
      {links,
       "Warning: 7 linked resources of App left out, location unknown or missing: a, b, c, d, e and 2 "
       "more"},
      {oneLink, "Warning: 1 linked resource of App left out, location unknown or missing: src/x.c"},
      {note(NoteKind::ProjectNotFound, "Lib"), "Warning: referenced project Lib not found in the workspace"},
      {noDescription, "Warning: referenced project Lib has no readable .wrproject, its files take the "
                      "project's settings"},
      {noDescriptions,
       "Warning: 7 referenced projects have no readable .wrproject, their files take the project's "
       "settings: a, b, c, d, e and 2 more"},
      {cut, "Warning: the search for referenced projects stopped after 20000 folders"},
      {note(NoteKind::BuildTargetLoop, "all -> part -> all"),
       "Warning: build targets refer to each other in a loop, not followed: all -> part -> all"},
      {moreLoops, "Warning: build targets refer to each other in 12 more loops, not followed"},
      {note(NoteKind::BuildTargetWithoutContents, "image"),
       "Warning: build target image names no contents, so it lists no file of its own"},
      {manySettings,
       "Warning: 3 files with settings of their own compiled with the project's: more than 64 "
       "different settings"},
      {tooLong, "Warning: the C-Compiler command names its lists too often, left as written past 5 MB"},
      {untold,
       "Warning: no command of the C-Compiler recipe of build spec PPC32gnu can be told to "
       "compile the source; its lists are taken alone"},
      {noLists,
       "Warning: the command of the C++-Compiler recipe of the build description that compiles the "
       "source takes neither its include nor its define list"},
      {note(NoteKind::ValueSplit, "WIND_HOME"),
       "Warning: the value of WIND_HOME holds white space and is split into words where a "
       "compile command names it, as make splits it"},
      {note(NoteKind::NoSourceFile), "Warning: the project lists no source file"},
      {note(NoteKind::LineBreakInIncludePath, "a\nb"),
       "Warning: line break in include path, left out of the analyser personality: a\nb"},
      {note(NoteKind::LineBreakInMacro, "M=a\rb"),
       "Warning: line break in macro, left out of the analyser personality: M=a\rb"},
      {note(NoteKind::NotUtf8InDatabase, "a\xff.c"),
       "Warning: not UTF-8, left out of the compilation database: a\xff.c"},
      {note(NoteKind::NotUtf8InDescription, "a?.c"),
       "Warning: not UTF-8, left out of the description: a?.c"},
  };
  std::set<NoteKind> pinned;
  for (const auto& [given, text] : rows) {
    EXPECT_EQ(textOf(given), text);
    std::string appended = "before ";
    appendTextOf(given, appended);
    EXPECT_EQ(appended, "before " + std::string(text));
    EXPECT_EQ(isWarning(given.kind), std::string(text).starts_with("Warning: ")) << text;
    pinned.insert(given.kind);
  }
  // Every kind up to each end marker: one added anywhere above them needs its row.
  for (unsigned kind = 0; kind < static_cast<unsigned>(NoteKind::EndOfProgress); ++kind) {
    EXPECT_EQ(pinned.count(static_cast<NoteKind>(kind)), 1u) << "progress note " << kind;
    EXPECT_FALSE(isWarning(static_cast<NoteKind>(kind))) << kind;
  }
  for (unsigned kind = kWarningNote; kind < static_cast<unsigned>(NoteKind::EndOfWarnings);
       ++kind) {
    EXPECT_EQ(pinned.count(static_cast<NoteKind>(kind)), 1u) << "warning " << kind;
    EXPECT_TRUE(isWarning(static_cast<NoteKind>(kind))) << kind;
  }
}

TEST(Messages, EveryFailure) {
  std::vector<std::string> many;
  for (int i = 0; i < 22; ++i) many.push_back("s" + std::to_string(i));
  const std::pair<Failure, const char*> rows[] = {
      {Failure(FailureKind::CannotOpenFile, "/p/.project"), "Could not open file: /p/.project"},
      {Failure(FailureKind::UnexpectedEnd), "WR Project file parsing encountered unexpected EOF"},
      {Failure(FailureKind::UnexpectedToken, "buildSpec"),
       "WR Project file parsing encountered unexpected token: buildSpec"},
      {Failure(FailureKind::CannotOpenFolder, "ws"), "Could not open folder: ws"},
      {Failure(FailureKind::InvalidName, "a/b"), "Invalid project name: a/b"},
      {Failure(FailureKind::CannotCreateDirectory, "/out/App"), "Could not create directory: /out/App"},
      {Failure(FailureKind::CannotWriteFile, "/out/App.prj"), "Could not write file: /out/App.prj"},
      {Failure(FailureKind::MissingValue, "-spec"), "Missing value for -spec"},
      {Failure(FailureKind::InvalidValue, "-var", {"NAME", "NAME=VALUE"}),
       "Invalid value for -var: \"NAME\" (give NAME=VALUE)"},
      {Failure(FailureKind::UnknownBuildSpec, "ARM", {"PPC32diab", "PPC32gnu"}),
       "Unknown build spec: ARM (known: PPC32diab, PPC32gnu)"},
      {Failure(FailureKind::UnknownBuildSpec, "ARM", many),
       "Unknown build spec: ARM (known: s0, s1, s2, s3, s4, s5, s6, s7, s8, s9, s10, s11, s12, s13, "
       "s14, s15, s16, s17, s18, s19 and 2 more)"},
      {Failure(FailureKind::UnknownBuildTarget, "t"), "Unknown build target: t (known: none)"},
      {Failure(FailureKind::NotUtf8, "ws\xff"),
       "Not UTF-8, cannot be written to the compilation database: ws\xff"},
      {Failure(FailureKind::NotRegularFile, "/dev/null"), "Not a regular file, not replaced: /dev/null"},
      {Failure(FailureKind::OutputIsInput, "p/.project"),
       "Would overwrite an input of the run: p/.project"},
      {Failure(FailureKind::OutputTwice, "out/App.prj"),
       "Would overwrite another output of the run: out/App.prj"},
      {Failure(FailureKind::NoTemporaryName, "out/App.prj"),
       "No free temporary name beside: out/App.prj"},
      {Failure(FailureKind::OutOfMemory, "reading the build description"),
       "Out of memory while reading the build description"},
      {Failure(FailureKind::NoWorkbenchProject, "ws"),
       "No Workbench project (a .project beside a .wrproject) in: ws"},
  };
  std::set<FailureKind> pinned;
  for (const auto& [failure, text] : rows) {
    EXPECT_EQ(messageFor(failure), text);
    pinned.insert(failure.kind);
  }
  for (int kind = 0; kind < static_cast<int>(FailureKind::EndOfKinds); ++kind) {
    EXPECT_EQ(pinned.count(static_cast<FailureKind>(kind)), 1u) << "failure kind " << kind;
  }
}

TEST(Messages, TheUsageComesFromTheOptionTable) {
  EXPECT_EQ(usageLines(),
            (std::vector<std::string>{
                "Usage: Plovik <source_proj> <source_wrproj> <windriver_workspace_dir> <dest_folder> "
                "[-pn dest_proj_name]",
                "[-mp message_personality] [-ap analyser_personality] [-cp compiler_personality] "
                "[-ext file_extension]"}));
  EXPECT_EQ(versionLine(), "Plovik " PLOVIK_VERSION);
}

// --- The workspace run ---------------------------------------------------

TEST(Messages, TheWorkspaceRunsLines) {
  const struct {
    std::string text, expected;
  } rows[] = {
      {workspaceProjectHeading(1, 2, "App", "/ws/App"), "Project 1 of 2: App (/ws/App)"},
      {workspaceCountLine(1, 2), "Workspace: 1 of 2 projects converted"},
      {workspaceSummaryLine("App", true, 0, ""), "App: converted"},
      {workspaceSummaryLine("App", true, 1, ""), "App: converted with 1 warning"},
      {workspaceSummaryLine("App", true, 12, ""), "App: converted with 12 warnings"},
      {workspaceSummaryLine("Lib", false, 3, "Could not open file: /ws/Lib/.wrproject"),
       "Lib: failed: Could not open file: /ws/Lib/.wrproject"},
      {workspaceUnexpectedFailure(), "stopped by an unexpected error"},
      {workspaceDatabaseLine(1, 1, {}), "Compilation database: 1 entry of 1 project"},
      {workspaceDatabaseLine(5, 3, {"Lib", "Rtp"}),
       "Compilation database: 5 entries of 3 projects, without the projects that failed: Lib, Rtp"},
      {workspaceNoDatabaseLine(), "Compilation database: not replaced, no project converted"},
      {workspaceSearchCutShortLine(8, 20000),
       "Warning: the workspace search stopped at 8 levels or 20000 folders; projects beyond were "
       "not looked for"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.text, row.expected);
}

// --- The run's guards ----------------------------------------------------

TEST(Messages, TheLineOnStandardError) {
  EXPECT_EQ(outputFailedLine(), "Plovik: could not write to standard output");
}

}  // namespace
