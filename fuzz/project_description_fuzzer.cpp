// The markup reader, the project description reader and the reader of its
// linked resources on arbitrary bytes, fed from memory; the links are then
// placed by the real-project mode in a small workspace in memory. Built a
// second time as project_description_repeated, which reads each input grown
// to a megabyte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "building/link_locations.h"
#include "building/real_project.h"
#include "fake_folders.h"
#include "fuzz_support.h"
#include "model/failure.h"
#include "note_lines.h"
#include "reading/project_description.h"

#ifndef PLOVIK_FUZZ_REPEAT_TO
#define PLOVIK_FUZZ_REPEAT_TO 0
#endif

namespace {

const FakeFolders& workspace() {
  static const FakeFolders folders = [] {
    FakeFolders made;
    for (const char* file : {"/ws/App/app.c", "/ws/App/src/a.c", "/ws/ext/e.c", "/ws/ext/sub/s.h",
                             "/ws/my/m.c"}) {
      made.file(file);
    }
    // A folder of many files, as links by the thousand point into.
    for (int i = 0; i < 20000; ++i) made.file("/ws/many/f" + std::to_string(i) + ".c");
    return made;
  }();
  return folders;
}

// The mode's placing of the links: never refused, every file placed once.
void placeLinks(const ProjectLinks& links) {
  static const FolderScan scan{workspace().lister(), {"c", "h"}};
  const RealProjectContext context{.projectName = "App",
                            .links = links,
                            .workspaceDir = FakeFolders::native("/ws"),
                            .projectFolder = FakeFolders::native("/ws/App"),
                            .currentDirectory = "/cwd",
                            .options = {true, "", "", {{"MY", "/ws/my"}}, {}},
                            .scan = scan,
                            .readProjectName = [](const std::string&) { return std::nullopt; },
                            .environment = [](const std::string&) { return std::nullopt; },
                            .notes = ignoreNotes()};
  std::istringstream none;
  FileGroup root;
  BuildChoices choices;
  try {
    buildRealProjectTree(none, root, context, choices);
  } catch (const Failure& failure) {
    fuzzFailure("the mode refused links: " + failure.subject);
  }
}

bool sameLinks(const ProjectLinks& a, const ProjectLinks& b) {
  const auto same = [](const LinkedResource& x, const LinkedResource& y) {
    return x.name == y.name && x.folder == y.folder && x.location == y.location &&
           x.isUri == y.isUri;
  };
  return a.variables == b.variables &&
         std::equal(a.links.begin(), a.links.end(), b.links.begin(), b.links.end(), same);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input =
      grownInput(reinterpret_cast<const char*>(data), size, PLOVIK_FUZZ_REPEAT_TO);
  const std::string_view text(input);
  size = text.size();
  try {
    const ProjectDescription description = parseProjectDescription(text);
    if (description.name.size() > size) fuzzFailure("a project name longer than the input");
    std::size_t names = 0;
    for (const auto& name : description.referencedProjects) names += name.size();
    if (names > size) fuzzFailure("referenced names longer than the input");
  } catch (const XMLReaderError& error) {
    if (error.kind == FailureKind::UnexpectedToken) {
      if (error.subject.size() > size) fuzzFailure("a token longer than the whole input");
    } else if (error.kind != FailureKind::UnexpectedEnd) {
      fuzzFailure("a failure no markup can cause");
    }
  }
  // The links never throw; each one is resolved against a made-up project.
  const ProjectLinks links = parseLinkedResources(text);
  // The real-project mode takes the links from the description's own reading:
  // wherever that reading succeeds, it must find what their own reading finds.
  try {
    ProjectLinks together;
    parseProjectDescription(text, together);
    if (!sameLinks(together, links)) fuzzFailure("the description's reading found other links");
  } catch (const XMLReaderError&) {
  }
  RealProjectContext context{
      .links = links, .workspaceDir = "/ws", .projectFolder = "/ws/App", .notes = ignoreNotes()};
  context.options.variables = {{"MY", "/my"}};
  for (const auto& link : links.links) {
    if (link.name.size() > size || link.location.size() > size) fuzzFailure("a link longer than the input");
    const LinkLocation where = resolveLinkLocation(link, context);
    if (where.kind != LinkLocation::Path && !where.path.empty()) fuzzFailure("a path for no location");
  }
  placeLinks(links);
  return 0;
}
