// A workspace run interrupted while several projects are at work at once:
// no project's files are left half made, every earlier result stays, and
// the run ends as the signal ends a process.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "conversion_fixture.h"
#include "limited_run.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const char* const kProjects[] = {"App", "Lib", "Rtp"};

class WorkspaceInterrupt : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string name : kProjects) {
      dir.writeFile("ws/" + name + "/.project",
                    "<projectDescription><name>" + name + "</name><projects></projects></projectDescription>");
      dir.writeFile("ws/" + name + "/.wrproject", "<subprojects>\n</subprojects>\n");
      dir.writeFile("ws/" + name + "/" + name + ".c", "");
    }
  }
  // Runs the converter with `options` after "-workspace ws out -cdb out/all.json";
  // the child's pid.
  pid_t start(const std::vector<std::string>& options, int signal) {
    std::vector<std::string> all{"-workspace", "ws", "out", "-cdb", "out/all.json"};
    all.insert(all.end(), options.begin(), options.end());
    return startQuietly(all, dir.str(), signal);
  }

  TempDir dir;
};

// Each project waits for the writer of a FIFO given as its analyser
// personality, which it reads before it writes anything.
TEST_F(WorkspaceInterrupt, EveryProjectsTemporaryFilesGo) {
  const pid_t first = start({"-wb"}, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(first, &status, 0), first);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const auto earlier = filesBelow(dir.path() / "out");
  const std::string fifo = dir.str("given.p_a");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const int signal : {SIGINT, SIGTERM}) {
    const pid_t pid = start({"-ap", "given.p_a", "-j", "3"}, signal);
    ASSERT_GT(pid, 0);
    // Opening the FIFO for writing succeeds once a project has opened it to
    // read; the others come to it as well.
    int writer = -1;
    for (int tries = 0; tries < 3000 && writer < 0; ++tries) {
      writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GE(writer, 0) << "the projects never came to the analyser personality";
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(pid, signal);
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(writer);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
    EXPECT_EQ(filesBelow(dir.path() / "out"), earlier);  // and so no temporary file
  }
}

}  // namespace
