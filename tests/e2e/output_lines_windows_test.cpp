// The converter's standard output as a reading process on Windows sees it:
// every line arrives as soon as it is printed, and standard error stays empty.
#include <gtest/gtest.h>
#include <string>

#include "child_process_win32.h"
#include "run_program.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace {

// A named pipe that the converter opens as the given analyser personality:
// it reads the personality after printing its first three lines and then
// waits until this test writes, so those lines must already have arrived.
class PersonalityPipe {
 public:
  PersonalityPipe()
      : name("\\\\.\\pipe\\plovik-lines-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(GetTickCount())) {
    handle = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND | FILE_FLAG_OVERLAPPED,
                              PIPE_TYPE_BYTE | PIPE_WAIT, 1, 4096, 4096, 0, nullptr);
    connected.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  }
  PersonalityPipe(const PersonalityPipe&) = delete;
  PersonalityPipe& operator=(const PersonalityPipe&) = delete;
  ~PersonalityPipe() {
    CloseHandle(handle);
    CloseHandle(connected.hEvent);
  }
  bool made() const { return handle != INVALID_HANDLE_VALUE; }

  // Waits until `child` has opened the pipe; false when it ended first.
  bool waitForReader(const ChildProcess& child) {
    if (ConnectNamedPipe(handle, &connected)) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_PIPE_CONNECTED) return true;
    if (error != ERROR_IO_PENDING) return false;
    const HANDLE either[2] = {connected.hEvent, child.handle()};
    return WaitForMultipleObjects(2, either, FALSE, 60000) == WAIT_OBJECT_0;
  }

  // Hands the reader `content` and then the end of the file.
  bool writeAndClose(const std::string& content) {
    OVERLAPPED writing{};
    writing.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD n = 0;
    const bool ok = (WriteFile(handle, content.data(), static_cast<DWORD>(content.size()), nullptr,
                               &writing) ||
                     GetLastError() == ERROR_IO_PENDING) &&
                    GetOverlappedResult(handle, &writing, &n, TRUE) && n == content.size();
    CloseHandle(writing.hEvent);
    FlushFileBuffers(handle);
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    return ok;
  }

  const std::string name;

 private:
  HANDLE handle = INVALID_HANDLE_VALUE;
  OVERLAPPED connected{};
};

TEST(OutputLines, EachLineArrivesWhileTheConverterStillRuns) {
  TempDir dir;
  dir.writeFile("proj/.project",
                "<projectDescription><name>App</name><projects></projects></projectDescription>");
  dir.writeFile("proj/.wrproject",
                "<listAttribute key=\"BLD::Info|Incl|gnu\">\n"
                "<stringAttribute value=\"-Iinc\"/>\n"
                "</listAttribute>\n");
  dir.makeFolder("ws");
  dir.makeFolder("out");
  PersonalityPipe personality;
  ASSERT_TRUE(personality.made());

  ChildProcess child(plovikProgram(),
                     {"proj\\.project", "proj\\.wrproject", "ws", "out", "-ap", personality.name},
                     dir.str());
  ASSERT_TRUE(child.started());
  ASSERT_TRUE(personality.waitForReader(child)) << "the converter never opened the personality";

  const std::string first = "Creating Olvex/Olvex++ Project ...\n"
                            "  Creating Group - App\n"
                            "  Creating Analyser Personality - " +
                            dir.str("out") + "\\person\\App.p_a\n";
  child.readUntil(first, 20);
  EXPECT_EQ(lines(child.out), first);
  EXPECT_TRUE(child.running()) << "the lines came only with the end of the program";

  ASSERT_TRUE(personality.writeAndClose("-DFROM_PIPE\n"));
  EXPECT_EQ(child.finish(), 0);
  EXPECT_EQ(lines(child.out), first + "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(child.err, "");
  const std::string analyser = readFile(dir.path() / "out" / "person" / "App.p_a");
  EXPECT_NE(analyser.find("\r\n-DFROM_PIPE\r\n"), std::string::npos) << analyser;
}

}  // namespace
