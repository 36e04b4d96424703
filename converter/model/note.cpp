#include "model/note.h"

bool isWarning(NoteKind kind) {
  return (static_cast<unsigned>(kind) & kWarningNote) != 0;
}

bool isStep(NoteKind kind) {
  return kind == NoteKind::ScanningSubprojects || kind == NoteKind::ScanningProjectFolder ||
         kind == NoteKind::WritingCompilationDatabase;
}

int warningRank(NoteKind kind) {
  switch (kind) {
    case NoteKind::LineBreakInIncludePath:
    case NoteKind::LineBreakInMacro: return 1;
    case NoteKind::NotUtf8InDatabase: return 2;
    case NoteKind::NotUtf8InDescription: return 3;
    default: return 0;
  }
}
