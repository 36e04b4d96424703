#include "writing/pending_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "model/failure.h"
#include "platform/platform.h"
#include "temp_dir.h"
#include "text/path.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

TEST(PendingFiles, TargetsChangeOnlyOnCommitAndTheLastWriterWins) {
  TempDir dir;
  dir.writeFile("a.txt", "old");
  const std::string a = dir.str("a.txt");
  const std::string b = dir.str("b.txt");
  PendingFiles pending;
  pending.open(a) << "first";
  pending.open(b) << "b";
  pending.open(a) << "second";
  EXPECT_EQ(readFile(a), "old");
  EXPECT_FALSE(fs::exists(b));
  pending.commit();
  EXPECT_EQ(readFile(a), "second");
  EXPECT_EQ(readFile(b), "b");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST(PendingFiles, DiscardedOrAbandonedFilesLeaveNoTrace) {
  TempDir dir;
  dir.writeFile("a.txt", "old");
  {
    PendingFiles pending;
    pending.open(dir.str("a.txt")) << "new";
    pending.discard();
    EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt"}));
    pending.open(dir.str("c.txt")) << "new";
  }
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt"}));
  EXPECT_EQ(readFile(dir.str("a.txt")), "old");
}

TEST(PendingFiles, TemporaryFilesOfEarlierRunsAreRemovedAndNothingElse) {
  TempDir dir;
  // Left by runs that were killed: the converter's own names.
  for (const char* left : {"a.txt.tmp", "a.txt.tmp1", "a.txt.tmp99"}) dir.writeFile(left, "left");
  // Not its names, or not files: kept.
  for (const char* kept : {"a.txt.tmp100", "a.txt.tmpx", "b.txt.tmp"}) dir.writeFile(kept, "mine");
  dir.makeFolder("a.txt.tmp2");
  PendingFiles pending;
  pending.open(dir.str("a.txt")) << "new";
  pending.commit();
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"a.txt", "a.txt.tmp100", "a.txt.tmpx",
                                                         "a.txt.tmp2", "b.txt.tmp"}));
  EXPECT_EQ(readFile(dir.str("a.txt")), "new");
}

TEST(PendingFiles, ATargetWithoutAFreeTemporaryNameSaysSo) {
  TempDir dir;
  dir.makeFolder("a.txt.tmp");
  for (int i = 1; i < 100; ++i) dir.makeFolder("a.txt.tmp" + std::to_string(i));
  PendingFiles pending;
  try {
    pending.open(dir.str("a.txt"));
    ADD_FAILURE() << "a temporary name was found";
  } catch (const IOERROR& error) {
    EXPECT_EQ(error.kind, FailureKind::NoTemporaryName);
    EXPECT_EQ(error.subject, dir.str("a.txt"));
  }
}

// Every target but the first opened is in place when the first one (the
// project file, replaced last) fails: all get their earlier versions back.
TEST(PendingFiles, AFailingLastReplacementRestoresTheEarlierFiles) {
  TempDir dir;
  dir.writeFile("last.txt", "old last");
  dir.writeFile("b.txt", "old b");
  const std::string last = dir.str("last.txt");
  {
    PendingFiles pending([&](const std::string& from, const std::string& to) {
      return to != last && platform::replaceFile(from, to);
    });
    pending.open(last) << "new last";
    pending.open(dir.str("b.txt")) << "new b";
    pending.open(dir.str("c.txt")) << "new c";  // did not exist before
    try {
      pending.commit();
      ADD_FAILURE() << "the commit succeeded";
    } catch (const IOERROR& error) {
      EXPECT_EQ(error.kind, FailureKind::CannotWriteFile);
      EXPECT_EQ(error.subject, last);
    }
  }
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"last.txt", "b.txt"}));
  EXPECT_EQ(readFile(last), "old last");
  EXPECT_EQ(readFile(dir.str("b.txt")), "old b");
}

// A folder made after the target was opened (the run's own group folder
// under the name of the database, say) is found before anything is replaced.
TEST(PendingFiles, TargetsAreCheckedAgainBeforeTheFirstReplacement) {
  TempDir dir;
  dir.writeFile("b.txt", "old b");
  PendingFiles pending;
  pending.open(dir.str("late")) << "database";
  pending.open(dir.str("b.txt")) << "new b";
  dir.makeFolder("late");
  EXPECT_THROW(pending.commit(), IOERROR);
  EXPECT_EQ(readFile(dir.str("b.txt")), "old b");
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"b.txt", "late"}));
}

TEST(PendingFiles, TargetsThatCannotBeWrittenAreRefusedByName) {
  TempDir dir;
  dir.makeFolder("folder");
  dir.writeFile("file", "x");
  const char sep = path::separator();
  for (const std::string& target :
       {dir.str("folder"), dir.str() + sep + "missing" + sep + "a.txt",
        dir.str("file") + sep + "a.txt", dir.str() + sep + std::string(300, 'n')}) {
    PendingFiles pending;
    try {
      pending.open(target);
      ADD_FAILURE() << "accepted " << target;
    } catch (const IOERROR& error) {
      EXPECT_EQ(error.kind, FailureKind::CannotWriteFile);
      EXPECT_EQ(error.subject, target);
    }
  }
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"file", "folder"}));
  EXPECT_EQ(readFile(dir.str("file")), "x");
}

#ifndef _WIN32
// A rename would put a plain file where the device, FIFO or link was.
TEST(PendingFiles, NothingButARegularFileIsReplaced) {
  TempDir dir;
  dir.writeFile("real", "x");
  fs::create_symlink(dir.str("real"), dir.path() / "link");
  ASSERT_EQ(mkfifo(dir.str("fifo").c_str(), 0600), 0);
  for (const std::string& target : {std::string("/dev/null"), dir.str("fifo"), dir.str("link")}) {
    PendingFiles pending;
    try {
      pending.open(target);
      ADD_FAILURE() << "accepted " << target;
    } catch (const IOERROR& error) {
      EXPECT_EQ(error.kind, FailureKind::NotRegularFile);
      EXPECT_EQ(error.subject, target);
    }
  }
  EXPECT_EQ(namesIn(dir.path()), (std::set<std::string>{"fifo", "link", "real"}));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}
#endif

}  // namespace
