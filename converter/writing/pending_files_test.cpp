#include "writing/pending_files.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

#include "model/failure.h"
#include "platform/platform.h"
#include "temp_dir.h"

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

TEST(PendingFiles, AFileAlreadyUnderTheTemporaryNameIsKept) {
  TempDir dir;
  dir.writeFile("a.txt.tmp", "mine");
  PendingFiles pending;
  pending.open(dir.str("a.txt")) << "new";
  pending.commit();
  EXPECT_EQ(readFile(dir.str("a.txt.tmp")), "mine");
  EXPECT_EQ(readFile(dir.str("a.txt")), "new");
}

TEST(PendingFiles, TargetsThatCannotBeWrittenAreRefusedByName) {
  TempDir dir;
  dir.makeFolder("folder");
  dir.writeFile("file", "x");
  const char sep = platform::separator;
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

}  // namespace
