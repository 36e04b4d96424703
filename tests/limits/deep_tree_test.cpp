// A sub-project whose folders nest 5,000 deep, with symbolic links that loop
// back up the tree: the scan and the writers must finish without exhausting
// the stack and without following the loops.
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr int kDepth = 5000;

// Paths this deep are longer than the system takes in one call, so the tree
// is made and removed one level at a time through folder descriptors.
void makeChain(const fs::path& base, const std::function<void(int level, int fd)>& atLevel) {
  int fd = open(base.c_str(), O_DIRECTORY | O_RDONLY);
  ASSERT_GE(fd, 0);
  for (int level = 1; level <= kDepth; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0) << level;
    const int next = openat(fd, "d", O_DIRECTORY | O_RDONLY);
    close(fd);
    ASSERT_GE(next, 0) << level;
    fd = next;
    atLevel(level, fd);
  }
  close(fd);
}

void touchAt(int fd, const char* name) {
  const int file = openat(fd, name, O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(file, 0) << name;
  close(file);
}

// Removes everything but the folder "d" from the folder open as `fd`.
void emptyLevel(int fd) {
  DIR* dir = fdopendir(dup(fd));
  ASSERT_NE(dir, nullptr);
  while (const dirent* entry = readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && name != "d") unlinkat(fd, name.c_str(), 0);
  }
  closedir(dir);
}

void removeChain(const fs::path& base) {
  int fd = open(base.c_str(), O_DIRECTORY | O_RDONLY);
  ASSERT_GE(fd, 0);
  int level = 0;
  for (int next; (next = openat(fd, "d", O_DIRECTORY | O_RDONLY | O_NOFOLLOW)) >= 0; ++level) {
    close(fd);
    fd = next;
  }
  for (; level > 0; --level) {
    emptyLevel(fd);
    const int parent = openat(fd, "..", O_DIRECTORY | O_RDONLY);
    close(fd);
    ASSERT_GE(parent, 0);
    fd = parent;
    unlinkat(fd, "d", AT_REMOVEDIR);
  }
  close(fd);
}

std::string repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t found = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
  return found;
}

TEST(DeepTree, FiveThousandLevelsWithLinkLoops) {
  TempDir dir;
  dir.makeFolder("out");
  dir.writeFile("ws/Lib/lib.c", "");
  dir.writeFile("proj/.project",
                "<projectDescription><name>App</name><projects><project>Lib</project>"
                "</projects></projectDescription>");
  dir.writeFile("proj/.wrproject", "<subprojects>\n<subproject project=\"/Lib\"/>\n</subprojects>\n");
  const std::string lib = dir.str("ws/Lib");
  makeChain(lib, [&](int level, int fd) {
    if (level == 1) {
      touchAt(fd, "first.c");
      symlinkat("..", fd, "up");          // back to the sub-project's folder
      symlinkat(lib.c_str(), fd, "top");  // the same, by its absolute path
    }
    if (level == 1500) {
      touchAt(fd, "deep.c");
      symlinkat("deep.c", fd, "alias.c");  // a link to a file is a file
      symlinkat("../../..", fd, "back");
    }
    // Past the longest path the system accepts (4,095 bytes): not listable.
    if (level == 2500) touchAt(fd, "too_deep.c");
    if (level == kDepth) {
      touchAt(fd, "bottom.c");
      symlinkat(lib.c_str(), fd, "loop");
    }
  });

  const LimitedResult result =
      runLimited({"proj/.project", "proj/.wrproject", dir.str("ws"), "out"}, dir.str());
  EXPECT_FALSE(result.timedOut);
  EXPECT_EQ(result.exitCode, 0) << result.out.substr(0, 2000) << result.err.substr(0, 2000);
  EXPECT_EQ(result.err, "");

  const std::string project = readFile(dir.path() / "out" / "App.prj");
  const std::string level1500 = lib + repeat("/d", 1500);
  EXPECT_NE(project.find("\r\n" + lib + "/d/first.c\r\n"), std::string::npos);
  EXPECT_NE(project.find("\r\n" + level1500 + "/alias.c\r\n" + level1500 + "/deep.c\r\n"),
            std::string::npos);
  EXPECT_EQ(project.find("too_deep.c"), std::string::npos);
  EXPECT_EQ(project.find("bottom.c"), std::string::npos);
  // App, Lib and one group per level down to the deepest accepted file; no
  // link became a group.
  EXPECT_EQ(count(project, "StartProjectMarker\r\n"), 2u + 1500u);
  EXPECT_EQ(count(project, "FolderName=d\r\n"), 1500u);
  EXPECT_TRUE(fs::is_directory(dir.str("out/App/Lib/d/d/output")));
  RecordProperty("seconds", std::to_string(result.seconds));

  removeChain(dir.path() / "out" / "App" / "Lib");
  removeChain(lib);
}

}  // namespace
