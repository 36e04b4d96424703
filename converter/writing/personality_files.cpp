#include "writing/personality_files.h"

#include "writing/output_lines.h"
#include "writing/run_outputs.h"

#include <string_view>
#include <vector>

namespace {

// The text with each line end, CR LF or a lone LF, made CR LF.
std::string withCrLf(const std::string& raw) {
  std::string content;
  content.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (raw[i] == '\n') content += '\r';
    content += raw[i];
  }
  return content;
}

void writeEmpty(PendingFiles& pending, const std::string& path) {
  std::ofstream out = pending.open(path);
  closeChecked(out, path);
}

// A value with a line break (from an entity such as &#10;, a -var value or
// the environment) would forge lines of the line-based file; it is left out.
bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string::npos; }


void writeAnalyser(const PersonalityFiles& files, const std::string& path,
                   PendingFiles& pending, const NoteSink& notes) {
  std::ofstream out = pending.open(path);
  // One line buffer for all: an include list can run to hundreds of
  // thousands of entries.
  std::string line;
  if (const FileGroup* group = files.analyserSource) {
    for (const std::string& include : group->includePaths) {
      if (hasLineBreak(include)) {
        notes({NoteKind::LineBreakInIncludePath, include});
        continue;
      }
      line.assign("-i \"").append(include).append("\"");
      writeLine(out, line);
    }
    for (const auto& [macro, value] : group->macros) {
      line.assign(macro);
      if (!value.empty()) line.append("=").append(value);
      if (hasLineBreak(line)) {
        notes({NoteKind::LineBreakInMacro, line});
        continue;
      }
      line.insert(0, "-d \"");
      writeLine(out, line.append("\""));
    }
  }
  out.write(files.givenContent.data(), static_cast<std::streamsize>(files.givenContent.size()));
  closeChecked(out, path);
}

}  // namespace

void readGivenAnalyserPersonality(const ProjectLayout& layout, PersonalityFiles& files,
                                  const NoteSink& notes) {
  if (!layout.readGivenAnalyserPersonality) return;
  if (!files.givenRead) {
    files.givenRead = true;
    const std::optional<std::string> given = layout.readGivenAnalyserPersonality();
    files.givenReadable = given.has_value();
    if (given) files.givenContent = withCrLf(*given);
  }
  if (!files.givenReadable) notes({NoteKind::GivenPersonalityUnreadable});
}

void writePersonalityFiles(const PersonalityFiles& files, const ProjectLayout& layout,
                           PendingFiles& pending, const NoteSink& notes) {
  if (files.emptyMessage) writeEmpty(pending, personalityFile(layout, OutputKind::MessagePersonality));
  writeAnalyser(files, personalityFile(layout, OutputKind::AnalyserPersonality), pending, notes);
  if (files.emptyCompiler) writeEmpty(pending, personalityFile(layout, OutputKind::CompilerPersonality));
}

void notePersonalityLeftOuts(const FileGroup& root, const NoteSink& notes) {
  const FileGroup* source = &root;
  walkGroups(
      root,
      [&](const FileGroup& group) {
        if (!group.includePaths.empty() || !group.macros.empty()) source = &group;
      },
      [](const FileGroup&) {});
  for (const std::string& include : source->includePaths) {
    if (hasLineBreak(include)) notes({NoteKind::LineBreakInIncludePath, include});
  }
  for (const auto& [macro, value] : source->macros) {
    std::string line = macro;
    if (!value.empty()) line.append("=").append(value);
    if (hasLineBreak(line)) notes({NoteKind::LineBreakInMacro, line});
  }
}
