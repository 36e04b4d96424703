// The build settings reader on arbitrary bytes, with a small real workspace
// behind it: root files, two referenced projects (one a nested tree with a
// symbolic-link loop) and a folder that holds nothing accepted.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "driver/conversion_job.h"
#include "fuzz_support.h"

namespace fs = std::filesystem;

namespace {

void touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << "int x;\n";
}

// Made once at start-up; the readers never change it.
struct Workspace {
  Workspace() : scratch("settings"), folder(scratch.path() / "ws") {
    touch(folder / "top.c");
    touch(folder / "board.h");
    touch(folder / "notes.txt");
    touch(folder / "Lib" / "lib.c");
    touch(folder / "Lib" / "src" / "core" / "core.c");
    touch(folder / "Lib" / "include" / "lib.h");
    fs::create_directories(folder / "Lib" / "src" / "empty");
    touch(folder / "Drivers" / "uart.c");
    std::error_code ignored;  // links may be refused (Windows without the right)
    fs::create_directory_symlink("..", folder / "Lib" / "src" / "up", ignored);
    fs::create_symlink("core/core.c", folder / "Lib" / "src" / "alias.c", ignored);
    settingsFile = (scratch.path() / "in.wrproject").string();
  }
  ScratchFolder scratch;
  fs::path folder;
  std::string settingsFile;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Workspace workspace;
  writeInput(workspace.settingsFile, data, size);

  ConversionJob job("", workspace.settingsFile, workspace.folder.string(), "");
  job.referencedProjects = {"Lib", "Drivers", "App"};
  job.fileExtensions = {"c", "h"};
  if (!job.readBuildSettings()) fuzzFailure("an existing build description reported as not opened");

  // An include path is a folder (the workspace and a project path from the
  // input) followed by a tail of the input: it cannot be longer than that.
  const std::size_t bound = 2 * size + workspace.folder.string().size() + 2;
  const FileGroup& root = *job.rootGroup;
  for (const auto& path : root.includePaths) {
    if (path.size() > bound) fuzzFailure("an include path longer than its sources");
  }
  for (const auto& entry : root.macros) {
    if (entry.first.empty()) fuzzFailure("a macro with an empty name");
  }
  return 0;
}
