#include "writing/run_outputs.h"

#include "model/file_names.h"
#include "text/path.h"

std::vector<RunOutput> runOutputs(const ProjectLayout& layout, const std::string& database) {
  std::vector<RunOutput> outputs;
  if (!database.empty()) outputs.push_back({OutputKind::CompilationDatabase, database});
  outputs.push_back({OutputKind::ProjectFile, projectFile(layout)});
  for (const OutputKind kind : {OutputKind::MessagePersonality, OutputKind::AnalyserPersonality,
                                OutputKind::CompilerPersonality}) {
    const bool given = (kind == OutputKind::MessagePersonality && !layout.messagePersonality.empty()) ||
                       (kind == OutputKind::CompilerPersonality && !layout.compilerPersonality.empty());
    if (!given) outputs.push_back({kind, personalityFile(layout, kind)});
  }
  outputs.push_back({OutputKind::Destination, layout.destFolder});
  outputs.push_back({OutputKind::PersonFolder, personFolder(layout)});
  return outputs;
}

bool scansPassOver(OutputKind kind) {
  switch (kind) {
    case OutputKind::Destination:
    case OutputKind::ProjectFile:
    case OutputKind::PersonFolder:
    case OutputKind::CompilationDatabase: return true;
    case OutputKind::MessagePersonality:
    case OutputKind::AnalyserPersonality:
    case OutputKind::CompilerPersonality: return false;
  }
  return false;
}

bool isReplacedFile(OutputKind kind) {
  return kind != OutputKind::Destination && kind != OutputKind::PersonFolder;
}

std::string projectFile(const ProjectLayout& layout) {
  return path::join(layout.destFolder, layout.projectName + std::string(kAnalyserProjectExtension));
}

std::string personFolder(const ProjectLayout& layout) {
  return path::join(layout.destFolder, "person") + path::separator();
}

std::string personalityFile(const ProjectLayout& layout, OutputKind kind) {
  const char* extension = kind == OutputKind::MessagePersonality ? ".p_s"
                          : kind == OutputKind::CompilerPersonality ? ".p_c"
                                                                    : ".p_a";
  return personFolder(layout) + layout.projectName + extension;
}

std::string groupFolder(const ProjectLayout& layout, std::string_view groupPath) {
  return path::join(layout.destFolder, groupPath);
}

std::string groupOutputFolder(const ProjectLayout& layout, std::string_view groupPath) {
  return path::join(groupFolder(layout, groupPath), "output") + path::separator();
}

std::vector<std::string> runFolders(const FileGroup& root, const ProjectLayout& layout) {
  std::vector<std::string> folders{personFolder(layout)};
  walkGroupPaths(
      root, layout,
      [&](const FileGroup&, const std::string& groupPath, bool) {
        folders.push_back(groupOutputFolder(layout, groupPath));
        folders.push_back(groupFolder(layout, groupPath));
      },
      [](const FileGroup&) {});
  return folders;
}
