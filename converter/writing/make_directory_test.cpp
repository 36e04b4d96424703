#include <filesystem>
#include <gtest/gtest.h>

#include "model/failure.h"
#include "writing/make_directory.h"
#include "text/path.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = path::separator();

TEST(MakeDirectory, MakesOneLevelAndAcceptsWhateverExists) {
  TempDir dir;
  const std::string folder = dir.str() + sep + "made" + sep;
  makeDirectory(folder);
  EXPECT_TRUE(fs::is_directory(dir.path() / "made"));
  makeDirectory(folder);

  dir.writeFile("file", "x");
  makeDirectory(dir.str("file"));
  makeDirectory(dir.str("file") + sep);
  EXPECT_EQ(readFile(dir.path() / "file"), "x");
}

TEST(MakeDirectory, AMissingParentFailsWithThePathAsPassed) {
  TempDir dir;
  const std::string folder = dir.str() + sep + "missing" + sep + "made" + sep;
  try {
    makeDirectory(folder);
    ADD_FAILURE() << "made " << folder;
  } catch (const IOERROR& error) {
    EXPECT_EQ(error.kind, FailureKind::CannotCreateDirectory);
    EXPECT_EQ(error.subject, folder);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

}  // namespace
