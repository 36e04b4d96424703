// The guards of a run, through the real program: an answer that cannot be
// delivered, what a failing run may remove, the permissions of replaced
// files, and a run interrupted while it writes.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "conversion_fixture.h"
#include "limited_run.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace fs = std::filesystem;

namespace {

class Guards : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.makeFolder("out");
    dir.writeFile("ws/main.c", "");
    dir.writeFile("proj/.project",
                  "<projectDescription><name>App</name><projects></projects></projectDescription>");
    dir.writeFile("proj/.wrproject", "<subprojects>\n</subprojects>\n");
  }
  std::vector<std::string> args(const std::vector<std::string>& options) const {
    std::vector<std::string> all{"proj/.project", "proj/.wrproject", "ws", "out"};
    all.insert(all.end(), options.begin(), options.end());
    return all;
  }
  LimitedResult convert(const std::vector<std::string>& options = {}, const Limits& limits = {}) {
    return runLimited(args(options), dir.str(), limits);
  }
  fs::path out(const std::string& relative) const { return dir.path() / "out" / relative; }

  TempDir dir;
};

// --version, the usage and -describe answer with what they print: an answer
// that cannot arrive fails, said on standard error. A conversion's result is
// its files: it goes on, and says only that its lines were lost.
TEST_F(Guards, AnAnswerThatCannotBeDeliveredFails) {
  const std::pair<const char*, std::function<void()>> outputs[] = {
      {"a full device", [] { dup2(open("/dev/full", O_WRONLY), STDOUT_FILENO); }},
      {"a closed pipe", [] {
         int ends[2];
         if (pipe(ends) != 0) _exit(125);
         close(ends[0]);
         dup2(ends[1], STDOUT_FILENO);
         std::signal(SIGPIPE, SIG_DFL);
       }}};
  const std::string line = "Plovik: could not write to standard output\n";
  for (const auto& [what, attach] : outputs) {
    ChildOptions options;
    options.setUpChild = attach;
    options.timeoutSeconds = 60;
    for (const auto& call : {std::vector<std::string>{"--version"}, std::vector<std::string>{},
                             args({"-describe"})}) {
      const ChildResult result = runChild(plovikProgram(), call, dir.str(), options);
      EXPECT_EQ(result.exitCode, 1) << what << ", " << call.size() << " arguments";
      EXPECT_EQ(result.err, line) << what;
    }
    fs::remove_all(out(""));
    fs::create_directory(out(""));
    const ChildResult converted = runChild(plovikProgram(), args({}), dir.str(), options);
    EXPECT_EQ(converted.exitCode, 0) << what;
    EXPECT_EQ(converted.err, line) << what;
    EXPECT_TRUE(fs::exists(out("App.prj"))) << what;
  }
}

// A database under a temporary name of the project file is an output like
// any other: a later run that fails part-way (here on the analyser
// personality, past a file size limit) leaves it and every other file.
TEST_F(Guards, AFailingRunRemovesNoEarlierOutput) {
  dir.writeFile("big.p_a", std::string(1 << 20, 'x'));
  ASSERT_EQ(convert({"-cdb", "out/App.prj.tmp"}).exitCode, 0);
  const auto earlier = filesBelow(out(""));
  ASSERT_EQ(earlier.count("App.prj.tmp"), 1u);
  Limits limits;
  limits.fileSizeBytes = 256 << 10;
  for (const auto& options : {std::vector<std::string>{"-cdb", "out/App.prj.tmp", "-ap", "big.p_a"},
                              std::vector<std::string>{"-ap", "big.p_a"}}) {
    const LimitedResult result = convert(options, limits);
    EXPECT_EQ(result.exitCode, 1) << options.size();
    EXPECT_TRUE(lines(result.out).ends_with("Could not write file: " + out("person/App.p_a").string() + "\n"))
        << result.out;
    EXPECT_EQ(filesBelow(out("")), earlier) << options.size();
  }
}

// A replaced file keeps its permissions; a new one gets the usual ones.
TEST_F(Guards, AReplacedOutputKeepsItsPermissions) {
  ASSERT_EQ(convert().exitCode, 0);
  const fs::perms usual = fs::status(out("App.prj")).permissions();
  const std::pair<const char*, fs::perms> kept[] = {{"App.prj", fs::perms(0600)},
                                                    {"person/App.p_a", fs::perms(0640)}};
  for (const auto& [name, mode] : kept) fs::permissions(out(name), mode);
  fs::remove(out("person/App.p_s"));
  ASSERT_EQ(convert().exitCode, 0);
  for (const auto& [name, mode] : kept) EXPECT_EQ(fs::status(out(name)).permissions(), mode) << name;
  EXPECT_EQ(fs::status(out("person/App.p_s")).permissions(), usual);
}

// A run whose standard output is full waits at its first progress line,
// which comes once its files are open under their temporary names: an
// interrupt then removes them, keeps the earlier project and ends the run as
// the signal ends a process.
TEST_F(Guards, AnInterruptedRunRemovesItsTemporaryFiles) {
  ASSERT_EQ(convert({"-cdb", "out/cc.json"}).exitCode, 0);
  const auto earlier = filesBelow(out(""));
  for (const int signal : {SIGINT, SIGTERM}) {
    int output[2];
    ASSERT_EQ(pipe(output), 0);
    // Filled here, never read: the run's first write waits.
    fcntl(output[1], F_SETFL, O_NONBLOCK);
    const std::string filler(4096, 'x');
    while (write(output[1], filler.data(), filler.size()) > 0) {
    }
    fcntl(output[1], F_SETFL, 0);
    const pid_t pid = startQuietly(args({"-cdb", "out/cc.json"}), dir.str(), signal, output[1]);
    ASSERT_GT(pid, 0);
    close(output[1]);
    bool writing = false;
    for (int tries = 0; tries < 3000 && !writing; ++tries) {
      writing = fs::exists(out("cc.json.tmp")) && fs::exists(out("App.prj.tmp"));
      if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(writing) << "the run was not interrupted while it wrote";
    kill(pid, signal);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    close(output[0]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
    EXPECT_EQ(filesBelow(out("")), earlier);  // and so no temporary file
  }
}

// The analyser personality is read before anything is written: a run that
// waits for the writer of a FIFO given as it has made no file yet.
TEST_F(Guards, TheGivenAnalyserPersonalityIsReadBeforeWriting) {
  ASSERT_EQ(convert({"-cdb", "out/cc.json"}).exitCode, 0);
  const auto earlier = filesBelow(out(""));
  const std::string fifo = dir.str("given.p_a");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const pid_t pid = startQuietly(args({"-ap", "given.p_a", "-cdb", "out/cc.json"}), dir.str(), SIGTERM);
  ASSERT_GT(pid, 0);
  // Opening the FIFO for writing succeeds once the run has opened it to read.
  int writer = -1;
  for (int tries = 0; tries < 3000 && writer < 0; ++tries) {
    writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_GE(writer, 0) << "the run never came to the analyser personality";
  EXPECT_EQ(filesBelow(out("")), earlier);
  ASSERT_EQ(write(writer, "-d \"GIVEN\"\n", 12), 12);
  close(writer);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_NE(readFile(out("person/App.p_a")).find("-d \"GIVEN\"\r\n"), std::string::npos);
}

}  // namespace
