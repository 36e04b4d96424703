#include "writing/group_writer.h"

#include <string>
#include <vector>

#include "text/path.h"
#include "writing/make_directory.h"
#include "writing/output_lines.h"

namespace {

constexpr char sep = path::separator();

// Visits the groups in block order with their group paths. The root is the
// group at the top, told by its place and not by its name: a sub-project or
// folder may well be called "root" too.
template <typename Enter, typename Leave>
void walkBlocks(const FileGroup& root, const ProjectLayout& layout, Enter enter, Leave leave) {
  std::vector<std::string> paths;  // of the groups entered and not yet left
  walkGroups(
      root,
      [&](const FileGroup& group) {
        const bool isRoot = paths.empty();
        std::string path = isRoot ? layout.projectName : paths.back() + sep + group.name;
        enter(group, path, isRoot);
        paths.push_back(std::move(path));
      },
      [&](const FileGroup& group) {
        leave(group);
        paths.pop_back();
      });
}

std::string outputFolder(const ProjectLayout& layout, const std::string& groupPath) {
  return layout.destFolder + sep + groupPath + sep + "output" + sep;
}

// A group's block up to the end of its file list.
void writeBlock(std::ostream& out, const FileGroup& group, const std::string& groupPath,
                bool isRoot, const ProjectLayout& layout, PersonalityFiles& files,
                const NoteSink& notes) {
  const std::string& displayName = isRoot ? layout.projectName : group.name;
  notes({NoteKind::CreatingGroup, displayName});
  writeLine(out, "StartProjectMarker");
  writeLine(out, "FolderName=" + displayName);
  const std::string source =
      group.sourceFolder.empty() ? layout.workspaceDir + sep + groupPath : group.sourceFolder;
  writeLine(out, "SourcePath=" + source + sep);
  writeLine(out, "OutputPath=" + outputFolder(layout, groupPath));

  std::string message = layout.messagePersonality;
  if (message.empty()) {
    message = layout.personality(".p_s");
    files.emptyMessage = true;
  }
  writeLine(out, "SubsPers=" + message);

  // Every block names the analyser personality, so it is always written, if
  // only with the -ap file's content: otherwise the project would name a
  // file of an earlier run, or none.
  const std::string analyser = layout.personality(".p_a");
  const bool generates = !group.includePaths.empty() || !group.macros.empty();
  if (generates) notes({NoteKind::CreatingAnalyserPersonality, analyser});
  writeLine(out, "AnalPers=" + analyser);
  if (generates || isRoot) {
    files.analyserSource = &group;
    readGivenAnalyserPersonality(layout, files, notes);
  }

  std::string compiler = layout.compilerPersonality;
  if (compiler.empty()) {
    compiler = layout.personality(".p_c");
    files.emptyCompiler = true;
  }
  writeLine(out, "CompPers=" + compiler);

  for (const std::string& file : group.files) {
    if (!file.empty()) writeLine(out, file);
  }
  writeLine(out, "EndContainedFilesMarker");
}

}  // namespace

void makeGroupFolders(const FileGroup& root, const ProjectLayout& layout) {
  walkBlocks(
      root, layout,
      [&](const FileGroup&, const std::string& groupPath, bool isRoot) {
        makeDirectory(layout.destFolder + sep + groupPath);
        makeDirectory(outputFolder(layout, groupPath));
        if (isRoot) makeDirectory(layout.personFolder());
      },
      [](const FileGroup&) {});
}

void writeGroup(std::ostream& out, const FileGroup& root, const ProjectLayout& layout,
                PersonalityFiles& files, const NoteSink& notes) {
  walkBlocks(
      root, layout,
      [&](const FileGroup& group, const std::string& groupPath, bool isRoot) {
        writeBlock(out, group, groupPath, isRoot, layout, files, notes);
        if (!group.subGroups.empty()) writeLine(out, "StartSubProjectMarker");
      },
      [&](const FileGroup& group) {
        if (!group.subGroups.empty()) writeLine(out, "EndSubProjectMarker");
      });
}
