#include "writing/compilation_database.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "model/failure.h"
#include "text/path.h"
#include "writing/json_text.h"
#include "writing/output_lines.h"

namespace {

void replaceAll(std::string& text, std::string_view from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

std::string requiredJson(const std::string& text) {
  std::string json;
  if (!jsonOf(text, json)) throw Failure(FailureKind::NotUtf8, text);
  return json;
}


// What one set of files is compiled with, made into JSON once.
struct Profile {
  std::array<std::string, 2> compilers;  // by language: C, C++
  // The -I and -D arguments of entries without words of a command.
  std::array<std::string, 2> settings;
  struct Part {
    std::string json;       // ", " and the word, for a word every source shares
    std::string perSource;  // else the word, with "$<" or "$@"
  };
  std::array<std::vector<Part>, 2> commandParts;  // by language; empty: no command
  std::string objectFolder;
};

class DatabaseWriter {
 public:
  DatabaseWriter(const CompilationDatabaseLayout& layout, const NoteSink& notes)
      : layout(layout), notes(notes) {
    directory = requiredJson(layout.directory);
  }

  // The arguments the entries of each set of settings share, made once: an
  // include list can run to thousands of paths.
  void takeSettings(const FileGroup& root) {
    std::string includes;
    appendIncludes(root, includes);
    profiles.resize(1 + layout.others.size());
    CompilationDatabaseLayout::Other own{layout.cCompiler, layout.cxxCompiler, layout.cMacros,
                                         layout.cxxMacros, layout.cWords, layout.cxxWords,
                                         layout.objectFolder};
    takeProfile(profiles[0], own, root, includes);
    for (std::size_t i = 0; i < layout.others.size(); ++i) {
      takeProfile(profiles[i + 1], layout.others[i], root, includes);
    }
  }

  // Each file of a language once; taken before any is written, so that
  // the run can say how many entries it writes.
  void take(const std::string& path) {
    const SourceLanguage language = languageOf(path);
    if (language == SourceLanguage::None) return;
    const auto [file, isNew] = written.insert(layout.absolute(path));
    if (!isNew) return;
    std::size_t profile = layout.settingsOf ? layout.settingsOf(path) : 0;
    if (profile >= profiles.size()) profile = 0;
    taken.push_back({&*file, language == SourceLanguage::Cxx, profile});
  }

  void takeAll(const FileGroup& root) {
    walkGroups(
        root,
        [&](const FileGroup& group) {
          for (const std::string& file : group.files) take(file);
        },
        [](const FileGroup&) {});
  }

  std::size_t takenCount() const { return taken.size(); }

  // `out` null: the entries are only looked at, for their warnings.
  // `kept`, when given, receives each entry as a value.
  void writeTaken(std::ostream* out, std::vector<DatabaseEntry>* kept = nullptr) {
    for (const auto& one : taken) {
      const std::size_t start = text.size();
      const bool added = add(*one.file, one.cxx, profiles[one.profile]);
      // The entry begins after its "\n" or ",\n".
      if (added && kept != nullptr) kept->push_back({*one.file, text.substr(text.find('{', start) - 2)});
      if (text.size() >= kChunk) flush(out);
    }
    flush(out);
  }

  std::size_t entries = 0;

 private:
  void takeProfile(Profile& profile, const CompilationDatabaseLayout::Other& from,
                   const FileGroup& root, const std::string& includes) {
    profile.compilers[0] = requiredJson(from.cCompiler.empty() ? layout.cCompiler : from.cCompiler);
    profile.compilers[1] =
        requiredJson(from.cxxCompiler.empty() ? layout.cxxCompiler : from.cxxCompiler);
    profile.objectFolder = from.objectFolder;
    takeWords(profile, 0, from.cWords);
    takeWords(profile, 1, from.cxxWords);
    const auto& cMacros = from.cMacros ? *from.cMacros : root.macros;
    const auto& cxxMacros = from.cxxMacros ? *from.cxxMacros : root.macros;
    profile.settings[0] = includes;
    appendMacros(cMacros, profile.settings[0]);
    if (&cxxMacros == &cMacros) {
      profile.settings[1] = profile.settings[0];
    } else {
      profile.settings[1] = includes;
      appendMacros(cxxMacros, profile.settings[1]);
    }
  }

  // The words of a command that are the same for every source, made once;
  // those that name the source or its object, kept for each entry.
  void takeWords(Profile& profile, int language, const std::vector<std::string>* words) {
    if (words == nullptr || words->empty()) return;
    auto& parts = profile.commandParts[language];
    std::string json;
    for (std::size_t i = 1; i < words->size(); ++i) {
      const std::string& word = (*words)[i];
      if (word.find("$<") != std::string::npos || word.find("$@") != std::string::npos) {
        parts.push_back({{}, word});
      } else if (jsonOf(word, json)) {
        // Words every source shares run together: one piece to append.
        if (parts.empty() || !parts.back().perSource.empty()) parts.push_back({});
        parts.back().json.append(", ").append(json);
      } else if (noted.insert(word).second) {
        notes({NoteKind::NotUtf8InDatabase, word});
      }
    }
    if (!words->front().empty()) profile.compilers[language] = requiredJson(words->front());
  }

  // The command's words for one source, "$<" and "$@" put in.
  void appendCommand(const Profile& profile, int language, const std::string& file) {
    const std::string_view name = path::fileName(file);
    const std::string object =
        path::join(profile.objectFolder, std::string(name.substr(0, name.rfind('.'))) + ".o");
    for (const auto& part : profile.commandParts[language]) {
      if (part.perSource.empty()) {
        text.append(part.json);
        continue;
      }
      std::string word = part.perSource;
      replaceAll(word, "$<", file);
      replaceAll(word, "$@", object);
      if (!jsonOf(word, wordJson, utf8)) continue;  // the file is UTF-8: the object too
      text.append(", ").append(wordJson);
    }
  }

  void appendIncludes(const FileGroup& root, std::string& out) {
    std::string json;
    for (const std::string& include : root.includePaths) {
      if (include.empty()) continue;
      // A path still holding a build macro is not made absolute: the
      // current folder in front of "$(WIND_BASE)" would only mislead.
      const bool relative = include.find("$(") == std::string::npos;
      if (!jsonOf("-I" + (relative ? layout.absolute(include) : include), json)) {
        notes({NoteKind::NotUtf8InDatabase, include});
        continue;
      }
      out.append(", ").append(json);
    }
  }

  void appendMacros(const std::map<std::string, std::string>& macros, std::string& out) {
    std::string json;
    for (const auto& [name, value] : macros) {
      if (name.empty()) continue;
      std::string definition = "-D" + name;
      if (!value.empty()) definition.append("=").append(value);
      if (!jsonOf(definition, json)) {
        // A macro both languages share is named once.
        if (noted.insert(definition).second) notes({NoteKind::NotUtf8InDatabase, definition.substr(2)});
        continue;
      }
      out.append(", ").append(json);
    }
  }

  // False when the file is left out.
  bool add(const std::string& file, bool cxx, const Profile& profile) {
    if (!jsonOf(file, json, utf8)) {
      notes({NoteKind::NotUtf8InDatabase, file});
      return false;
    }
    text.append(entries++ == 0 ? "\n" : ",\n");
    text.append("  {\n    \"directory\": ").append(directory);
    text.append(",\n    \"file\": ").append(json);
    text.append(",\n    \"arguments\": [").append(profile.compilers[cxx]);
    if (profile.commandParts[cxx].empty()) {
      text.append(profile.settings[cxx]).append(", \"-c\", ").append(json);
    } else {
      appendCommand(profile, cxx, file);
    }
    text.append("]\n  }");
    return true;
  }

  // The stream would hand every piece of a kilobyte or more to the system
  // on its own, and the shared settings are that long: one call per entry.
  // Entries are gathered here and written a megabyte at a time instead.
  void flush(std::ostream* out) {
    if (out) out->write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
  }

  const CompilationDatabaseLayout& layout;
  const NoteSink& notes;
  std::unordered_set<std::string> noted;  // macros left out
  std::string directory;
  std::vector<Profile> profiles;  // the layout's own first, then its others
  static constexpr std::size_t kChunk = 1 << 20;
  std::string text;  // entries not yet written
  std::string json;  // buffers for each entry's file
  std::string wordJson;
  std::string utf8;
  std::unordered_set<std::string> written;  // a file met twice has one entry
  struct Taken {
    const std::string* file;  // into `written`
    bool cxx;
    std::size_t profile;
  };
  std::vector<Taken> taken;
};

}  // namespace

void writeCompilationDatabase(const FileGroup& root, const CompilationDatabaseLayout& layout,
                              PendingFiles& pending, const NoteSink& notes,
                              std::vector<DatabaseEntry>* kept) {
  DatabaseWriter writer(layout, notes);
  writer.takeSettings(root);
  writer.takeAll(root);
  notes(Note(NoteKind::WritingCompilationDatabase, {}, Note::Counted{writer.takenCount()}));
  std::ofstream out = pending.open(layout.path);
  out.put('[');
  writer.writeTaken(&out, kept);
  out.write(writer.entries == 0 ? "]\n" : "\n]\n", writer.entries == 0 ? 2 : 3);
  closeChecked(out, layout.path);
}

std::vector<const DatabaseEntry*> mergedEntries(const std::vector<ProjectEntries>& projects) {
  struct Chosen {
    const DatabaseEntry* entry;
    bool own;
  };
  std::unordered_map<std::string, Chosen> chosen;  // by the file's comparable path
  std::vector<const Chosen*> order;                // the files in the order first met
  for (const ProjectEntries& project : projects) {
    std::unordered_set<std::string> others;
    for (const auto& file : project.othersFiles) others.insert(path::comparable(file, ""));
    for (const DatabaseEntry& entry : project.entries) {
      std::string key = path::comparable(entry.file, "");
      const bool own = !others.contains(key);
      const auto [found, isNew] = chosen.try_emplace(std::move(key), Chosen{&entry, own});
      if (isNew) order.push_back(&found->second);
      else if (own && !found->second.own) found->second = {&entry, true};
    }
  }
  std::vector<const DatabaseEntry*> merged;
  merged.reserve(order.size());
  for (const Chosen* one : order) merged.push_back(one->entry);
  return merged;
}

void writeDatabaseEntries(const std::string& path, const std::vector<const DatabaseEntry*>& entries) {
  PendingFiles pending;
  std::ofstream out = pending.open(path);
  out.put('[');
  std::string text;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    text.append(i == 0 ? "\n" : ",\n").append(entries[i]->json);
    if (text.size() < (1 << 20)) continue;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    text.clear();
  }
  text.append(entries.empty() ? "]\n" : "\n]\n");
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  closeChecked(out, path);
  pending.commit();
}

void noteCompilationDatabaseLeftOuts(const FileGroup& root,
                                     const CompilationDatabaseLayout& layout,
                                     const NoteSink& notes) {
  DatabaseWriter writer(layout, notes);
  writer.takeSettings(root);
  writer.takeAll(root);
  writer.writeTaken(nullptr);
}
