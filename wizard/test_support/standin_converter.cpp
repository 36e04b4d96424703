// A stand-in for Plovik in the wizard's tests. It writes each argument it was
// given on a line of its own to "arguments.txt" in its current directory,
// prints two lines (the second with a two-byte character split across two
// writes), then the bytes of the file STANDIN_PRINT names, if any (a form
// feed in them is not printed: it flushes and pauses, so a test can split a
// line between two reads), and ends with the exit status named by
// STANDIN_EXIT (default 0). Like the converter, it writes the project file
// <destination>/<-pn value>.prj, unless STANDIN_NO_PRJ is set (a run that
// ends with 0 but writes nothing). With STANDIN_WAIT_FOR set, it first waits until
// that file exists, so a test can look at the wizard while a conversion is
// running. With STANDIN_CRASH set, it crashes instead of ending.
//
// Asked to describe a project (the last argument is "-describe"), it
// records its arguments in "describe_arguments.txt" instead, prints the
// document the file STANDIN_DESCRIBE names (by default one that names no
// project and knows nothing: the -pn value as the name) and ends with
// STANDIN_DESCRIBE_EXIT (default 0). With STANDIN_DESCRIBE_HANG set it never
// answers (for a minute), as a converter stuck on a FIFO would.
//
// Given -workspace WS DEST, it stands for a workspace of the projects
// STANDIN_PROJECTS names, apart by commas ("App,Lib" by default), each in
// WS/NAME and output to DEST/NAME, or to DEST/FOLDER when written NAME=FOLDER
// (two projects of one name): described, it lists them; run, it prints a
// heading for each project the -project options choose by name or output
// folder (all without them), writes its .prj for each but the one STANDIN_SKIP names,
// and prints a summary, in the converter's own words.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "driver/messages.h"
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// A write through a null pointer, as a real fault would be, so the wizard
// sees the operating system's own report of a crash.
[[noreturn]] void crash() {
#ifdef _WIN32
  // Ended by the fault's code, as Windows ends a program nobody debugs,
  // instead of waiting for Wine's debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  SetUnhandledExceptionFilter([](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
#endif
  volatile int* volatile nowhere = nullptr;
  *nowhere = 1;
  std::abort();  // not reached
}

struct Member {
  std::string name, output;  // output: the folder's name under DEST
};

struct WorkspaceArguments {
  std::string workspace, destination;
  std::vector<Member> projects;  // STANDIN_PROJECTS
  std::vector<std::string> chosen;    // -project
};

std::optional<WorkspaceArguments> workspaceArguments(int argc, char** argv) {
  for (int i = 1; i + 2 < argc; ++i) {
    if (std::string_view(argv[i]) != "-workspace") continue;
    WorkspaceArguments given{argv[i + 1], argv[i + 2], {}, {}};
    const char* names = std::getenv("STANDIN_PROJECTS");
    std::string list = names ? names : "App,Lib";
    for (std::size_t start = 0; start <= list.size();) {
      const std::size_t comma = std::min(list.find(',', start), list.size());
      const std::string entry = list.substr(start, comma - start);
      const std::size_t equals = entry.find('=');
      if (equals == std::string::npos)
        given.projects.push_back({entry, entry});
      else
        given.projects.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
      start = comma + 1;
    }
    for (int j = 1; j + 1 < argc; ++j) {
      if (std::string_view(argv[j]) == "-project") given.chosen.push_back(argv[j + 1]);
    }
    return given;
  }
  return std::nullopt;
}

void describeWorkspace(const WorkspaceArguments& given) {
  std::printf("{\"version\": 1, \"mode\": \"workspace\", \"workspace\": \"%s\", "
              "\"destination\": \"%s\", \"projects\": [",
              given.workspace.c_str(), given.destination.c_str());
  for (std::size_t i = 0; i < given.projects.size(); ++i) {
    const char* name = given.projects[i].name.c_str();
    std::printf("%s{\"name\": \"%s\", \"folder\": \"%s/%s\", \"output\": \"%s/%s\", "
                "\"description\": {\"version\": 1, \"failure\": null}}",
                i == 0 ? "" : ", ", name, given.workspace.c_str(), name,
                given.destination.c_str(), given.projects[i].output.c_str());
  }
  std::printf("], \"warnings\": [], \"failure\": null}\n");
}

void runWorkspace(const WorkspaceArguments& given) {
  // As the converter does, -project picks by name or by output folder.
  std::vector<Member> run;
  for (const Member& member : given.projects) {
    const auto picks = [&](const std::string& chosen) {
      return chosen == member.name || chosen == member.output;
    };
    if (given.chosen.empty() || std::any_of(given.chosen.begin(), given.chosen.end(), picks))
      run.push_back(member);
  }
  const char* skip = std::getenv("STANDIN_SKIP");
  for (std::size_t i = 0; i < run.size(); ++i) {
    const std::string& name = run[i].name;
    std::printf("%s\n", workspaceProjectHeading(i + 1, run.size(), name,
                                                given.workspace + "/" + name).c_str());
    if (skip && name == skip) continue;
    const std::filesystem::path folder = std::filesystem::path(given.destination) / run[i].output;
    std::filesystem::create_directories(folder);
    std::ofstream(folder / (name + ".prj"), std::ios::binary) << "stand-in\n";
  }
  std::printf("%s\n", workspaceCountLine(run.size(), run.size()).c_str());
  for (const Member& member : run) {
    std::printf("%s\n", workspaceSummaryLine(member.name, true, 0, "").c_str());
  }
}

int describe(int argc, char** argv) {
  {
    std::ofstream record("describe_arguments.txt", std::ios::binary);
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
  }
  if (std::getenv("STANDIN_DESCRIBE_HANG")) {
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
  }
  if (const char* document = std::getenv("STANDIN_DESCRIBE")) {
    std::ifstream in(document, std::ios::binary);
    std::fputs(std::string(std::istreambuf_iterator<char>(in), {}).c_str(), stdout);
  } else if (const auto given = workspaceArguments(argc, argv)) {
    describeWorkspace(*given);
  } else {
    std::string name;
    for (int i = 5; i + 1 < argc; ++i) {
      if (std::string_view(argv[i]) == "-pn") name = argv[i + 1];
    }
    // Names with quotes or backslashes are not needed by any test.
    std::printf(
        "{\"version\": 1, \"mode\": \"default\", \"project\": {\"name\": \"%s\", \"from\": "
        "\"%s\"}, \"buildSpecs\": {\"known\": [], \"default\": null, \"chosen\": null}, "
        "\"buildTargets\": {\"known\": [], \"chosen\": null}, \"referencedProjects\": [], "
        "\"variables\": [], \"groups\": [], \"includePaths\": 0, \"macros\": 0, "
        "\"warnings\": [], \"failure\": null}\n",
        name.c_str(), name.empty() ? "none" : "-pn");
  }
  std::fflush(stdout);
  const char* status = std::getenv("STANDIN_DESCRIBE_EXIT");
  return status ? std::atoi(status) : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string_view(argv[argc - 1]) == "-describe") return describe(argc, argv);
  {
    std::ofstream record("arguments.txt", std::ios::binary);
    for (int i = 1; i < argc; ++i) record << argv[i] << '\n';
  }

  if (const char* gate = std::getenv("STANDIN_WAIT_FOR")) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!std::filesystem::exists(gate) && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }

  std::fputs("Stand-in converter started\n", stdout);
  std::fputs("Reading \xC3", stdout);
  std::fflush(stdout);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  std::fputs("\x98sterby\n", stdout);
  std::fflush(stdout);

  if (const char* extra = std::getenv("STANDIN_PRINT")) {
    std::ifstream in(extra, std::ios::binary);
    for (char c; in.get(c);) {
      if (c != '\f') {
        std::fputc(c, stdout);
        continue;
      }
      std::fflush(stdout);
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::fflush(stdout);
  }

  if (std::getenv("STANDIN_CRASH")) crash();
  if (const auto given = workspaceArguments(argc, argv)) {
    runWorkspace(*given);
    std::fflush(stdout);
    const char* status = std::getenv("STANDIN_EXIT");
    return status ? std::atoi(status) : 0;
  }
  if (!std::getenv("STANDIN_NO_PRJ") && argc > 4) {
    for (int i = 5; i + 1 < argc; ++i) {
      if (std::string_view(argv[i]) == "-pn")
        std::ofstream(std::string(argv[4]) + "/" + argv[i + 1] + ".prj", std::ios::binary)
            << "stand-in\n";
    }
  }
  const char* status = std::getenv("STANDIN_EXIT");
  return status ? std::atoi(status) : 0;
}
