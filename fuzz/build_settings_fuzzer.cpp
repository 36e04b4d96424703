// The build settings reader and the tree built from it on arbitrary bytes,
// fed from memory, with a small workspace in memory behind it: root files,
// two referenced projects (one a nested tree with a link to a folder) and a
// folder that holds nothing accepted. Each input is read twice: as every
// conversion reads it, and in the real-project mode. Built a second time as
// build_settings_repeated, which reads each input grown to a megabyte.
#include <cstddef>
#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <string_view>

#include "building/group_tree.h"
#include "building/real_project.h"
#include "fake_folders.h"
#include "fuzz_support.h"
#include "model/failure.h"
#include "note_lines.h"

namespace {

const FakeFolders& workspace() {
  static const FakeFolders folders = [] {
    FakeFolders made;
    for (const char* file : {"ws/top.c", "ws/board.h", "ws/notes.txt", "ws/Lib/lib.c",
                             "ws/Lib/src/core/core.c", "ws/Lib/include/lib.h",
                             "ws/Drivers/uart.c"}) {
      made.file(file);
    }
    made.folder("ws/Lib/src/empty");
    made.folderLink("ws/Lib/src/up");
    for (const char* file : {"ws/App/app.c", "ws/App/PPC32gnu/out.c", "ws/App/src/a.c",
                             "ws/Found/deep/.project", "ws/Found/deep/f.c"}) {
      made.file(file);
    }
    return made;
  }();
  return folders;
}

#ifndef PLOVIK_FUZZ_REPEAT_TO
#define PLOVIK_FUZZ_REPEAT_TO 0
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text =
      grownInput(reinterpret_cast<const char*>(data), size, PLOVIK_FUZZ_REPEAT_TO);
  size = text.size();
  std::istringstream in(text);
  static const std::vector<std::string> referenced{"Lib", "Drivers", "App"};
  static const FolderScan scan{workspace().lister(), {"c", "h"}};
  FileGroup root;
  buildGroupTree(in, root, "ws", referenced, scan);

  // An include path is a folder (the workspace and a project path from the
  // input) followed by a tail of the input: it cannot be longer than that.
  const std::size_t bound = 2 * size + 4;
  for (const auto& path : root.includePaths) {
    if (path.size() > bound) fuzzFailure("an include path longer than its sources");
  }
  for (const auto& entry : root.macros) {
    if (entry.first.empty()) fuzzFailure("a macro with an empty name");
  }

  // The mode: no -spec or -target is given, so nothing may be refused.
  in.clear();
  in.seekg(0);
  static const RealProjectContext context{
      .projectName = "App",
      .referencedProjects = {"Lib", "Found", "Missing"},
      .workspaceDir = "ws",
      .projectFolder = FakeFolders::native("ws/App"),
      .currentDirectory = "/cwd",
      .options = {true, "", "", {{"WIND_BASE", "/wr"}, {"A", "$(A)"}}, {{"C:/ws", "ws"}}},
      .scan = scan,
      .readProjectName = [](const std::string&) { return std::optional<std::string>("Found"); },
      .environment =
          [](const std::string& name) {
            return name == "HOME" ? std::optional<std::string>("/home") : std::nullopt;
          },
      .notes = ignoreNotes()};
  FileGroup real;
  BuildChoices choices;
  try {
    buildRealProjectTree(in, real, context, choices);
  } catch (const Failure& failure) {
    fuzzFailure("the mode refused a file without -spec or -target: " + failure.subject);
  }
  for (const auto& entry : real.macros) {
    if (entry.first.empty()) fuzzFailure("a macro with an empty name in the mode");
  }
  // A set, not a pairwise look: grown inputs give tens of thousands of paths.
  std::set<std::string_view> seen;
  for (const auto& path : real.includePaths) {
    if (path.empty()) fuzzFailure("an empty include path in the mode");
    if (!seen.insert(path).second) fuzzFailure("an include path twice");
  }
  return 0;
}
