#include "driver/run_files.h"

#include "model/failure.h"
#include "platform/platform.h"
#include "text/path.h"
#include "writing/pending_files.h"
#include "writing/run_outputs.h"

namespace {

bool exists(const std::string& path) {
  return platform::nodeKind(path, true) != platform::NodeKind::Missing;
}

bool sameFile(const std::string& a, const std::string& b, const std::string& base) {
  if (exists(a) && exists(b)) return platform::sameFile(a, b);
  return path::comparable(a, base) == path::comparable(b, base);
}

}  // namespace

RunFiles runFilesOf(const ConversionOptions& options, const ProjectLayout& layout,
                    const FileGroup& root) {
  RunFiles files;
  files.inputs = {options.sourceProjectPath, options.buildSettingsPath,
                  options.analyserPersonality, options.messagePersonality,
                  options.compilerPersonality};
  for (auto& output : runOutputs(layout, options.compilationDatabase)) {
    if (output.kind == OutputKind::CompilationDatabase) files.database = std::move(output.path);
    else if (isReplacedFile(output.kind)) files.outputs.push_back(std::move(output.path));
  }
  files.analyserOutput = personalityFile(layout, OutputKind::AnalyserPersonality);
  files.analyserInput = options.analyserPersonality;
  if (!files.database.empty()) files.folders = runFolders(root, layout);
  return files;
}

void checkWorkspace(const std::string& workspaceDir) {
  if (platform::pathKind(workspaceDir) != platform::PathKind::Folder) {
    throw Failure(FailureKind::CannotOpenFolder, workspaceDir);
  }
}

void checkRunFiles(const RunFiles& files, const std::string& currentDirectory) {
  std::vector<const std::string*> outputs;
  for (const auto& output : files.outputs) outputs.push_back(&output);
  if (!files.database.empty()) outputs.push_back(&files.database);
  for (const std::string* output : outputs) {
    for (const auto& input : files.inputs) {
      if (input.empty()) continue;
      if (*output == files.analyserOutput && input == files.analyserInput) continue;
      if (sameFile(*output, input, currentDirectory)) {
        throw Failure(FailureKind::OutputIsInput, *output);
      }
    }
  }
  if (files.database.empty()) return;
  for (const auto& output : files.outputs) {
    if (sameFile(files.database, output, currentDirectory)) {
      throw Failure(FailureKind::OutputTwice, files.database);
    }
  }
  // The folders are made by this run, so most do not exist yet: by path.
  const std::string database = path::comparable(files.database, currentDirectory);
  for (const auto& folder : files.folders) {
    if (path::comparable(folder, currentDirectory) == database) {
      throw Failure(FailureKind::OutputTwice, files.database);
    }
  }
}

void checkOutputs(const RunFiles& files) {
  std::vector<std::string> all;
  if (!files.database.empty()) all.push_back(files.database);
  all.insert(all.end(), files.outputs.begin(), files.outputs.end());
  for (std::size_t i = 0; i < all.size(); ++i) {
    std::vector<std::string> others = all;
    others.erase(others.begin() + static_cast<std::ptrdiff_t>(i));
    PendingFiles::check(all[i], others);
  }
}
