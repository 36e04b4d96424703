// The settings file "settings.txt" in the current directory: the workspace
// folder and the three personalities, as key line, value line, empty line.
// A file that cannot be read or written is passed over in silence.
#include <QFile>
#include <QTextStream>

#include "vaskel.h"

namespace {

const QString kSettingsFile = QStringLiteral("settings.txt");
const QString kWorkspaceKey = QStringLiteral("Workspace Dir:");
const QString kMessageKey = QStringLiteral("Message Personality:");
const QString kAnalyserKey = QStringLiteral("Analyser Personality:");
const QString kCompilerKey = QStringLiteral("Compiler Personality:");

}  // namespace

void Vaskel::loadSettings() {
  QFile file(kSettingsFile);
  if (!file.open(QIODevice::ReadOnly)) return;
  QTextStream in(&file);
  in.setEncoding(QStringConverter::System);
  const std::pair<QString, QLineEdit*> records[] = {{kWorkspaceKey, WRWorkspaceDirEdit},
                                                    {kMessageKey, MsgPersonEdit},
                                                    {kAnalyserKey, AnalPersonEdit},
                                                    {kCompilerKey, CmpPersonEdit}};
  while (!in.atEnd()) {
    const QString line = in.readLine();
    for (const auto& [key, field] : records) {
      if (line == key) {
        // A key on the last line has no value line: it clears its field.
        field->setText(in.atEnd() ? QString() : in.readLine());
        break;
      }
    }
  }
}

void Vaskel::saveSettings() {
  QFile file(kSettingsFile);
  // Binary mode: the lines end in a bare line feed on every platform.
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
  QTextStream out(&file);
  out.setEncoding(QStringConverter::System);
  out << kWorkspaceKey << '\n' << WRWorkspaceDirEdit->text() << "\n\n";
  const std::pair<QString, QLineEdit*> optional[] = {
      {kMessageKey, MsgPersonEdit}, {kAnalyserKey, AnalPersonEdit}, {kCompilerKey, CmpPersonEdit}};
  for (const auto& [key, field] : optional) {
    if (!field->text().isEmpty()) out << key << '\n' << field->text() << "\n\n";
  }
}
