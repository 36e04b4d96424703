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
// list (and the opening sub-project marker when it has sub-groups). Returns
// the parent path its sub-groups are written with.
std::string writeBlock(FileGroup& group, std::ostream& out, const std::string& parentPath) {
  const ConversionJob& job = group.owner;
  const bool isRoot = group.name == "root";
  const std::string displayName = isRoot ? job.getProjectName() : group.name;
  // The group named root lies directly in the destination, whatever its parent.
  const std::string groupPath = (isRoot ? "" : sep + parentPath) + sep + displayName;
  const std::string groupFolder = job.getDestFolder() + groupPath;
  const std::string outputFolder = groupFolder + sep + "output" + sep;

  group.makeDirectory(groupFolder);
  group.makeDirectory(outputFolder);
  printLine("  Creating Group - " + displayName);
  writeLine(out, "StartProjectMarker");
  writeLine(out, "FolderName=" + displayName);
  writeLine(out, "SourcePath=" + job.getWorkspaceDir() + groupPath + sep);
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
  if (!group.subGroups.empty()) writeLine(out, "StartSubProjectMarker");
  return parentPath == "root" ? displayName : parentPath + sep + group.name;
}

// A group whose block is written and whose sub-groups are being written.
struct Open {
  FileGroup* group;
  std::string childParentPath;
  std::size_t nextChild;
};

}  // namespace

// Depth-first and pre-order, on an explicit stack: sub-project folders nest
// as deep as the source tree does, deeper than the call stack would allow.
void FileGroup::writeGroup(std::ostream& out, const std::string& parentPath) {
  std::vector<Open> open;
  open.push_back({this, writeBlock(*this, out, parentPath), 0});
  while (!open.empty()) {
    Open& top = open.back();
    if (top.nextChild < top.group->subGroups.size()) {
      FileGroup& child = *top.group->subGroups[top.nextChild++];
      std::string childParentPath = writeBlock(child, out, top.childParentPath);
      open.push_back({&child, std::move(childParentPath), 0});
      continue;
    }
    if (!top.group->subGroups.empty()) writeLine(out, "EndSubProjectMarker");
    open.pop_back();
  }
}
