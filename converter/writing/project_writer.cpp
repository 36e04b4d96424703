#include <algorithm>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "driver/conversion_job.h"
#include "driver/output.h"
#include "platform/platform.h"
#include "writing/output_lines.h"

namespace {

// The project name and the group names become folder and file names below
// the destination; these would lead out of it or into another folder. A zero
// byte (possible in a name read from the project description) ends the name
// the system sees, so "A\0B" would become the file "A". A line break cannot
// be written into the line-based project file without forging lines.
bool isUnsafeName(const std::string& name) {
  return name == "." || name == ".." ||
         name.find_first_of(std::string_view("/\\\0\r\n", 5)) != std::string::npos;
}

// The project name also names the personality files and is shown in every
// block: no control character at all.
bool isUnsafeProjectName(const std::string& name) {
  return isUnsafeName(name) || std::any_of(name.begin(), name.end(), [](char c) {
           return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
         });
}

const std::string* findUnsafeName(const ConversionJob& job) {
  if (isUnsafeProjectName(job.projectName)) return &job.projectName;
  std::vector<const FileGroup*> pending{job.rootGroup.get()};
  while (!pending.empty()) {
    const FileGroup* group = pending.back();
    pending.pop_back();
    if (isUnsafeName(group->name)) return &group->name;
    for (const auto& child : group->subGroups) pending.push_back(child.get());
  }
  return nullptr;
}

}  // namespace

bool ConversionJob::writeAnalyserProject() {
  if (const std::string* name = findUnsafeName(*this)) {
    printLine("Invalid project name: " + *name);
    return false;
  }
  const std::string path = destFolder + platform::separator + projectName + ".prj";
  try {
    std::ofstream out = pendingOutputs.open(path);
    printLine("Creating Olvex/Olvex++ Project ...");
    writeLine(out, "VersionTag45");
    rootGroup->writeGroup(out, "root");
    closeChecked(out, path);
    pendingOutputs.commit();
  } catch (...) {
    pendingOutputs.discard();
    throw;
  }
  printLine("Olvex/Olvex++ Project Completed!");
  return true;
}
