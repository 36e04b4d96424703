#include "driver/run_files.h"

#include "model/failure.h"
#include "platform/platform.h"
#include "text/path.h"

namespace {

bool exists(const std::string& path) {
  return platform::nodeKind(path, true) != platform::NodeKind::Missing;
}

bool sameFile(const std::string& a, const std::string& b, const std::string& base) {
  if (exists(a) && exists(b)) return platform::sameFile(a, b);
  return path::comparable(a, base) == path::comparable(b, base);
}

}  // namespace

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
