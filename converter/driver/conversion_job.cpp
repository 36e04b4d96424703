#include "driver/conversion_job.h"

#include <utility>

#include "driver/errors.h"
#include "driver/output.h"
#include "platform/platform.h"

ConversionJob::ConversionJob(std::string sourceProjectPath, std::string buildSettingsPath,
                             std::string workspaceDir, std::string destFolder)
    : sourceProjectPath(std::move(sourceProjectPath)),
      buildSettingsPath(std::move(buildSettingsPath)),
      workspaceDir(std::move(workspaceDir)),
      destFolder(std::move(destFolder)),
      rootGroup(std::make_unique<FileGroup>("root", *this)) {}

void ConversionJob::addFileExtensions(const std::string& value) {
  std::string::size_type start = 0;
  for (auto comma = value.find(',', start); comma != std::string::npos;
       comma = value.find(',', start)) {
    fileExtensions.push_back(value.substr(start, comma - start));
    start = comma + 1;
  }
  fileExtensions.push_back(value.substr(start));
}

bool ConversionJob::run() {
  try {
    reader.open(sourceProjectPath);
    if (!readProjectDescription() && reader.isGood()) {
      printLine("WR Project file parsing encountered unexpected token: " + reader.currentToken());
      return false;
    }
    // A build description that cannot be opened has printed its own line; a
    // conversion without it would be reported as a success it is not.
    if (!readBuildSettings()) return false;
    // Every source path is formed from the workspace folder: without it the
    // project would list nothing and still replace an earlier, good one.
    if (platform::pathKind(workspaceDir) != platform::PathKind::Folder) {
      printLine("Could not open folder: " + workspaceDir);
      return false;
    }
    return writeAnalyserProject();
  } catch (const XMLReaderError& error) {
    if (error.kind == XMLReaderError::UnexpectedEnd) {
      printLine("WR Project file parsing encountered unexpected EOF");
    } else {
      printLine("Could not open file: " + sourceProjectPath);
    }
  } catch (const IOERROR& error) {
    if (error.kind == IOERROR::CannotCreateDirectory) {
      printLine("Could not create directory: " + error.path);
    } else {
      printLine("Could not write file: " + error.path);
    }
  }
  return false;
}
