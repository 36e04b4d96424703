// The settings file "settings.txt" in the current directory: the workspace
// folder, the three personalities, the last destination, the real-project
// mode with its build spec and target, the compilation database and the
// choice of the whole workspace over one project, as key
// line, value line, empty line. The later records follow the first four, so
// an older file simply lacks them. A file that cannot be read or written is
// passed over in silence.
#pragma once

#include <QString>
#include <optional>

class QIODevice;

// What the wizard remembers between runs. Read, a record the file lacks is
// none. Written, a record that is none is left out, and so is an empty one
// (but the workspace, always written, and a database file); the build spec
// and target are written only with the mode on, the database file only with
// the database on, the whole workspace only when chosen.
struct RememberedSettings {
  std::optional<QString> workspace;
  std::optional<QString> message;
  std::optional<QString> analyser;
  std::optional<QString> compiler;
  std::optional<QString> destination;
  std::optional<bool> workbenchMode;
  std::optional<QString> spec;
  std::optional<QString> target;
  std::optional<bool> database;
  std::optional<QString> databaseFile;
  std::optional<bool> wholeWorkspace;  // every project of the workspace, not one

  bool operator==(const RememberedSettings&) const = default;
};

class SettingsFile {
 public:
  explicit SettingsFile(const QString& path = QStringLiteral("settings.txt")) : path(path) {}

  // Nothing remembered when the file cannot be read (it does not exist, say).
  RememberedSettings load() const;
  void save(const RememberedSettings& settings) const;

  // The records of a file's text, in the local 8-bit code page. A key on a
  // line of its own makes the next line its value (the last line's key an
  // empty one); the later of two wins; other lines are passed over.
  static RememberedSettings read(QIODevice& in);
  // Each record as key, value and an empty line; lines end in a bare line feed.
  static void write(QIODevice& out, const RememberedSettings& settings);

 private:
  QString path;
};
