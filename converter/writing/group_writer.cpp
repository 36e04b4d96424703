#include "writing/group_writer.h"

#include <string>
#include <vector>

#include "text/path.h"
#include "writing/make_directory.h"
#include "writing/output_lines.h"
#include "writing/run_outputs.h"

namespace {

constexpr char sep = path::separator();

// A group's block up to the end of its file list.
void writeBlock(std::ostream& out, const FileGroup& group, const std::string& groupPath,
                bool isRoot, const ProjectLayout& layout, PersonalityFiles& files,
                const NoteSink& notes) {
  const std::string& displayName = isRoot ? layout.projectName : group.name;
  notes({NoteKind::CreatingGroup, displayName});
  writeLine(out, "StartProjectMarker");
  writeLine(out, "FolderName=" + displayName);
  const std::string source =
      group.sourceFolder.empty() ? path::join(layout.workspaceDir, groupPath) : group.sourceFolder;
  writeLine(out, "SourcePath=" + source + sep);
  writeLine(out, "OutputPath=" + groupOutputFolder(layout, groupPath));

  std::string message = layout.messagePersonality;
  if (message.empty()) {
    message = personalityFile(layout, OutputKind::MessagePersonality);
    files.emptyMessage = true;
  }
  writeLine(out, "SubsPers=" + message);

  // Every block names the analyser personality, so it is always written, if
  // only with the -ap file's content: otherwise the project would name a
  // file of an earlier run, or none.
  const std::string analyser = personalityFile(layout, OutputKind::AnalyserPersonality);
  const bool generates = !group.includePaths.empty() || !group.macros.empty();
  if (generates) notes({NoteKind::CreatingAnalyserPersonality, analyser});
  writeLine(out, "AnalPers=" + analyser);
  if (generates || isRoot) {
    files.analyserSource = &group;
    readGivenAnalyserPersonality(layout, files, notes);
  }

  std::string compiler = layout.compilerPersonality;
  if (compiler.empty()) {
    compiler = personalityFile(layout, OutputKind::CompilerPersonality);
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
  walkGroupPaths(
      root, layout,
      [&](const FileGroup&, const std::string& groupPath, bool isRoot) {
        makeDirectory(groupFolder(layout, groupPath));
        makeDirectory(groupOutputFolder(layout, groupPath));
        if (isRoot) makeDirectory(personFolder(layout));
      },
      [](const FileGroup&) {});
}

void writeGroup(std::ostream& out, const FileGroup& root, const ProjectLayout& layout,
                PersonalityFiles& files, const NoteSink& notes) {
  walkGroupPaths(
      root, layout,
      [&](const FileGroup& group, const std::string& groupPath, bool isRoot) {
        writeBlock(out, group, groupPath, isRoot, layout, files, notes);
        if (!group.subGroups.empty()) writeLine(out, "StartSubProjectMarker");
      },
      [&](const FileGroup& group) {
        if (!group.subGroups.empty()) writeLine(out, "EndSubProjectMarker");
      });
}
