// The settings file "settings.txt" in the current directory: the workspace
// folder, the three personalities, the last destination, the real-project
// mode with its build spec and target, and the compilation database, as key
// line, value line, empty line. The later records follow the first four, so
// an older file simply lacks them. A file that cannot be read or written is
// passed over in silence.
#include <QFile>
#include <QTextStream>

#include "vaskel.h"

namespace {

const QString kSettingsFile = QStringLiteral("settings.txt");
const QString kWorkspaceKey = QStringLiteral("Workspace Dir:");
const QString kMessageKey = QStringLiteral("Message Personality:");
const QString kAnalyserKey = QStringLiteral("Analyser Personality:");
const QString kCompilerKey = QStringLiteral("Compiler Personality:");
const QString kDestinationKey = QStringLiteral("Output Folder:");
const QString kModeKey = QStringLiteral("Workbench Mode:");
const QString kSpecKey = QStringLiteral("Build Spec:");
const QString kTargetKey = QStringLiteral("Build Target:");
const QString kCdbKey = QStringLiteral("Compilation Database:");
const QString kCdbFileKey = QStringLiteral("Compilation Database File:");
const QString kModeOn = QStringLiteral("on");

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
    // A key on the last line has no value line: it clears its field.
    const auto value = [&in] { return in.atEnd() ? QString() : in.readLine(); };
    if (line == kDestinationKey) {
      OlvProjectEdit->setText(value());
    } else if (line == kModeKey) {
      WorkbenchBox->setChecked(value() == kModeOn);
    } else if (line == kSpecKey) {
      rememberedSpec = value();
    } else if (line == kTargetKey) {
      rememberedTarget = value();
    } else if (line == kCdbKey) {
      CdbCheck->setChecked(value() == kModeOn);
    } else if (line == kCdbFileKey) {
      cdbFollowsDestination = false;
      CdbEdit->setText(value());
    } else {
      for (const auto& [key, field] : records) {
        if (line == key) {
          field->setText(value());
          break;
        }
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
  if (!OlvProjectEdit->text().isEmpty())
    out << kDestinationKey << '\n' << OlvProjectEdit->text() << "\n\n";
  if (WorkbenchBox->isChecked()) {
    out << kModeKey << '\n' << kModeOn << "\n\n";
    // Lists that hold no answer (a run that failed on a broken project, say)
    // choose nothing: the remembered choice stays for the next start.
    if (SpecCombo->count() > 0)
      rememberedSpec = SpecCombo->currentIndex() >= 0 ? SpecCombo->currentText() : QString();
    if (TargetCombo->count() > 1)
      rememberedTarget = TargetCombo->currentIndex() > 0 ? TargetCombo->currentText() : QString();
    if (!rememberedSpec.isEmpty()) out << kSpecKey << '\n' << rememberedSpec << "\n\n";
    if (!rememberedTarget.isEmpty()) out << kTargetKey << '\n' << rememberedTarget << "\n\n";
  }
  if (CdbCheck->isChecked()) {
    out << kCdbKey << '\n' << kModeOn << "\n\n";
    // A file that follows the destination is not written, so it follows the
    // remembered destination next time too.
    if (!cdbFollowsDestination) out << kCdbFileKey << '\n' << CdbEdit->text() << "\n\n";
  }
}
