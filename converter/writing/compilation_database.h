// The compilation database (-cdb FILE): the JSON list of compile commands
// that clang tools, cppcheck and editors read, one entry per C or C++ source
// file of the group tree.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_group.h"
#include "model/note.h"
#include "model/source_language.h"
#include "writing/pending_files.h"

struct CompilationDatabaseLayout {
  std::string path;         // the file to write
  std::string directory;    // every entry's "directory": the workspace folder, absolute
  std::string cCompiler;    // the program that compiles C files
  std::string cxxCompiler;  // and C++ files
  // A path of the tree made absolute, as the project file's paths are.
  std::function<std::string(const std::string&)> absolute;
  // The macros of C and of C++ sources where they differ from the root
  // group's (which the analyser personality holds); null: the root group's.
  const std::map<std::string, std::string>* cMacros = nullptr;
  const std::map<std::string, std::string>* cxxMacros = nullptr;
  // The compilers' words as make runs them, the program first (empty: the
  // compiler above), "$<" standing for the source and "$@" for its object
  // in `objectFolder`; null or empty: the program, -I, -D, -c and the file.
  const std::vector<std::string>* cWords = nullptr;
  const std::vector<std::string>* cxxWords = nullptr;
  std::string objectFolder = {};

  // What compiles the files that take other settings than those above (a
  // sub-project's files, a file a build target gives settings of its own),
  // each field as above; an empty compiler is the one above.
  struct Other {
    std::string cCompiler;
    std::string cxxCompiler;
    const std::map<std::string, std::string>* cMacros = nullptr;
    const std::map<std::string, std::string>* cxxMacros = nullptr;
    const std::vector<std::string>* cWords = nullptr;
    const std::vector<std::string>* cxxWords = nullptr;
    std::string objectFolder;
  };
  std::vector<Other> others = {};
  // For a path of the tree: 0 for the settings above, k for others[k - 1];
  // null: every file takes the settings above.
  std::function<std::size_t(const std::string&)> settingsOf = {};
};

// One entry of a database: the file it compiles and the entry as the
// database holds it, from "  {" to "  }".
struct DatabaseEntry {
  std::string file;  // the tree's path made absolute by the layout
  std::string json;
};

// Writes the database of the tree below `root` through `pending`, each file
// once, in the tree's order. A file, include path or macro that is not
// UTF-8 is left out with a note; a directory or compiler that is not throws
// Failure NotUtf8. Throws CannotWriteFile as the other outputs do. `kept`,
// when given, receives every entry written, in its order.
void writeCompilationDatabase(const FileGroup& root, const CompilationDatabaseLayout& layout,
                              PendingFiles& pending, const NoteSink& notes,
                              std::vector<DatabaseEntry>* kept = nullptr);

// One project's entries in a database of several projects, and the files
// among them that are other projects' own (its sub-projects'), absolute.
struct ProjectEntries {
  std::vector<DatabaseEntry> entries;
  std::vector<std::string> othersFiles;
};

// The entries of several projects as one database: one entry per file
// (told by its comparable path), in the order the files are first met, the
// first entry of a project whose own file it is, else the first.
std::vector<const DatabaseEntry*> mergedEntries(const std::vector<ProjectEntries>& projects);

// Writes `entries` as the database at `path`, put in place only once
// written whole. Throws Failure as the other outputs do.
void writeDatabaseEntries(const std::string& path, const std::vector<const DatabaseEntry*>& entries);

// What writing the database would note, and throw, without writing it.
void noteCompilationDatabaseLeftOuts(const FileGroup& root,
                                     const CompilationDatabaseLayout& layout,
                                     const NoteSink& notes);
