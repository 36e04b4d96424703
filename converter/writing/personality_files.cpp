#include <fstream>
#include <iterator>

#include "driver/conversion_job.h"
#include "driver/input_file.h"
#include "driver/output.h"
#include "platform/platform.h"
#include "writing/output_lines.h"

// The personality files a conversion produces: the empty message and compiler
// personalities and the analyser personality generated from a group's include
// paths and macros.

namespace {

std::string personFolder(const ConversionJob& job) {
  return job.getDestFolder() + platform::separator + "person" + platform::separator;
}

void makeEmptyPersonality(FileGroup& group, const std::string& path) {
  group.makeDirectory(personFolder(group.owner));
  std::ofstream out = group.owner.pendingOutputs.open(path);
  closeChecked(out, path);
}

// The whole file with each line end, CR LF or a lone LF, made CR LF; false
// when it cannot be opened.
bool readWithCrLf(const std::string& path, std::string& content) {
  std::ifstream in;
  if (!openInputFile(in, path)) return false;
  const std::string raw{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  content.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (raw[i] == '\n') content += '\r';
    content += raw[i];
  }
  return true;
}

}  // namespace

void FileGroup::makeEmptyMessagePersonality(const std::string& path) {
  makeEmptyPersonality(*this, path);
}

void FileGroup::makeEmptyCompilerPersonality(const std::string& path) {
  makeEmptyPersonality(*this, path);
}

void FileGroup::writeAnalyserPersonality(const std::string& path) {
  makeDirectory(personFolder(owner));
  // The given file is read before the output is opened: it may be the very
  // file this conversion replaces.
  const std::string given = owner.getAnalyserPersonality();
  std::string givenContent;
  const bool givenOpened = given.empty() || readWithCrLf(given, givenContent);

  std::ofstream out = owner.pendingOutputs.open(path);
  // One line buffer for all: an include list can run to hundreds of
  // thousands of entries.
  std::string line;
  for (const std::string& include : includePaths) {
    line.assign("-i \"").append(include).append("\"");
    writeLine(out, line);
  }
  for (const auto& [macro, value] : macros) {
    line.assign("-d \"").append(macro);
    if (!value.empty()) line.append("=").append(value);
    writeLine(out, line.append("\""));
  }
  if (!givenOpened) printLine("Couldnt open file");
  out.write(givenContent.data(), static_cast<std::streamsize>(givenContent.size()));
  closeChecked(out, path);
}
