#include "vaskel_settings.h"

#include <QFile>
#include <QTextStream>

namespace {

const QString kWorkspaceKey = QStringLiteral("Workspace Dir:");
const QString kMessageKey = QStringLiteral("Message Personality:");
const QString kAnalyserKey = QStringLiteral("Analyser Personality:");
const QString kCompilerKey = QStringLiteral("Compiler Personality:");
const QString kDestinationKey = QStringLiteral("Output Folder:");
const QString kModeKey = QStringLiteral("Workbench Mode:");
const QString kSpecKey = QStringLiteral("Build Spec:");
const QString kTargetKey = QStringLiteral("Build Target:");
const QString kDatabaseKey = QStringLiteral("Compilation Database:");
const QString kDatabaseFileKey = QStringLiteral("Compilation Database File:");
const QString kWholeWorkspaceKey = QStringLiteral("Whole Workspace:");
const QString kOn = QStringLiteral("on");

// The text records in the order they are written; the switches sit among
// them where written below.
struct TextRecord {
  const QString& key;
  std::optional<QString> RememberedSettings::*value;
};
const TextRecord kTextRecords[] = {{kWorkspaceKey, &RememberedSettings::workspace},
                                   {kMessageKey, &RememberedSettings::message},
                                   {kAnalyserKey, &RememberedSettings::analyser},
                                   {kCompilerKey, &RememberedSettings::compiler},
                                   {kDestinationKey, &RememberedSettings::destination},
                                   {kSpecKey, &RememberedSettings::spec},
                                   {kTargetKey, &RememberedSettings::target},
                                   {kDatabaseFileKey, &RememberedSettings::databaseFile}};

// A record that has a value; an empty value only where `evenEmpty`.
void writeRecord(QTextStream& out, const QString& key, const std::optional<QString>& value,
                 bool evenEmpty = false) {
  if (!value || (value->isEmpty() && !evenEmpty)) return;
  out << key << '\n' << *value << "\n\n";
}

}  // namespace

RememberedSettings SettingsFile::load() const {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return read(file);
}

void SettingsFile::save(const RememberedSettings& settings) const {
  QFile file(path);
  // Binary mode: the lines end in a bare line feed on every platform.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  write(file, settings);
}

RememberedSettings SettingsFile::read(QIODevice& device) {
  QTextStream in(&device);
  in.setEncoding(QStringConverter::System);
  RememberedSettings settings;
  while (!in.atEnd()) {
    const QString line = in.readLine();
    // A key on the last line has no value line: its value is empty.
    const auto value = [&in] { return in.atEnd() ? QString() : in.readLine(); };
    if (line == kModeKey) {
      settings.workbenchMode = value() == kOn;
    } else if (line == kDatabaseKey) {
      settings.database = value() == kOn;
    } else if (line == kWholeWorkspaceKey) {
      settings.wholeWorkspace = value() == kOn;
    } else {
      for (const TextRecord& record : kTextRecords) {
        if (line == record.key) {
          settings.*record.value = value();
          break;
        }
      }
    }
  }
  return settings;
}

void SettingsFile::write(QIODevice& device, const RememberedSettings& settings) {
  QTextStream out(&device);
  out.setEncoding(QStringConverter::System);
  writeRecord(out, kWorkspaceKey, settings.workspace.value_or(QString()), true);
  writeRecord(out, kMessageKey, settings.message);
  writeRecord(out, kAnalyserKey, settings.analyser);
  writeRecord(out, kCompilerKey, settings.compiler);
  writeRecord(out, kDestinationKey, settings.destination);
  if (settings.workbenchMode.value_or(false)) {
    writeRecord(out, kModeKey, kOn);
    writeRecord(out, kSpecKey, settings.spec);
    writeRecord(out, kTargetKey, settings.target);
  }
  if (settings.database.value_or(false)) {
    writeRecord(out, kDatabaseKey, kOn);
    writeRecord(out, kDatabaseFileKey, settings.databaseFile, true);
  }
  if (settings.wholeWorkspace.value_or(false)) writeRecord(out, kWholeWorkspaceKey, kOn);
}
