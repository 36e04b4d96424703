#include <ostream>
#include <string>
#include <vector>

#include "driver/conversion_job.h"
#include "driver/output.h"
#include "platform/platform.h"
#include "writing/output_lines.h"

// Writes the group blocks of the project file, making each group's folders and
// the personality files on the way.

namespace {

constexpr char sep = platform::separator;

// Makes the group's folders and writes its block up to the end of its file
// list. `groupPath` is the group's path below the destination (and below the
// workspace): the project name for the root, its parent's path and its own
// name for every other group.
void writeBlock(FileGroup& group, std::ostream& out, const std::string& groupPath, bool isRoot) {
  const ConversionJob& job = group.owner;
  const std::string displayName = isRoot ? job.getProjectName() : group.name;
  const std::string groupFolder = job.getDestFolder() + sep + groupPath;
  const std::string outputFolder = groupFolder + sep + "output" + sep;

  group.makeDirectory(groupFolder);
  group.makeDirectory(outputFolder);
  printLine("  Creating Group - " + displayName);
  writeLine(out, "StartProjectMarker");
  writeLine(out, "FolderName=" + displayName);
  writeLine(out, "SourcePath=" + job.getWorkspaceDir() + sep + groupPath + sep);
  writeLine(out, "OutputPath=" + outputFolder);

  const std::string person =
      job.getDestFolder() + sep + "person" + sep + job.getProjectName();
  std::string message = job.getMessagePersonality();
  if (message.empty()) {
    message = person + ".p_s";
    if (isRoot) group.makeEmptyMessagePersonality(message);
  }
  writeLine(out, "SubsPers=" + message);

  const std::string analyser = person + ".p_a";
  if (!group.includePaths.empty() || !group.macros.empty()) {
    printLine("  Creating Analyser Personality - " + analyser);
    writeLine(out, "AnalPers=" + analyser);
    group.writeAnalyserPersonality(analyser);
  } else {
    writeLine(out, "AnalPers=" + analyser);
    // Every block names this file, so it is always written, if only with the
    // -ap file's content: otherwise the project would name a file of an
    // earlier run, or none.
    if (isRoot) group.writeAnalyserPersonality(analyser);
  }

  std::string compiler = job.getCompilerPersonality();
  if (compiler.empty()) {
    compiler = person + ".p_c";
    if (isRoot) group.makeEmptyCompilerPersonality(compiler);
  }
  writeLine(out, "CompPers=" + compiler);

  for (const std::string& file : group.files) {
    if (!file.empty()) writeLine(out, file);
  }
  writeLine(out, "EndContainedFilesMarker");
}

}  // namespace

// The root is the job's root group, told by its place and not by its name: a
// sub-project or folder may well be called "root" too.
void FileGroup::writeGroup(std::ostream& out, const std::string& parentPath) {
  std::vector<std::string> paths;  // of the groups entered and not yet left
  walkGroups(
      *this,
      [&](FileGroup& group) {
        const bool isRoot = &group == owner.rootGroup.get();
        const std::string& parent = paths.empty() ? parentPath : paths.back();
        std::string groupPath = isRoot ? owner.getProjectName() : parent + sep + group.name;
        writeBlock(group, out, groupPath, isRoot);
        if (!group.subGroups.empty()) writeLine(out, "StartSubProjectMarker");
        paths.push_back(std::move(groupPath));
      },
      [&](FileGroup& group) {
        if (!group.subGroups.empty()) writeLine(out, "EndSubProjectMarker");
        paths.pop_back();
      });
}
