// Renders each of the wizard's four pages to a PNG file (and the first page
// once more, converting every project of examples/fleet), filled in as for a
// conversion of the example workbench project into <destination> (created when
// missing), with the real-project mode on, a build target, a variable's value
// and the compilation database, once the converter beside this program has
// answered about the project. Run from the repository's top folder:
//   vaskel_render_pages <png folder> <destination>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTableWidgetItem>
#include <QTextStream>
#include <QThread>

#include "vaskel.h"

namespace {

// The pages show what the converter said, so its answer comes first.
bool waitForAnswer(const Vaskel& wizard) {
  QElapsedTimer clock;
  clock.start();
  while (wizard.describing() && clock.elapsed() < 30000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(5);
  }
  if (wizard.describing() || !wizard.question->answer()) {
    QTextStream(stderr) << "Plovik gave no description: " << wizard.ProjectStatusLabel->toolTip()
                        << '\n';
    return false;
  }
  return true;
}

bool save(Vaskel& wizard, const QDir& folder, const QString& name) {
  QApplication::processEvents();
  const QString path = folder.filePath(name);
  if (!wizard.grab().save(path)) {
    QTextStream(stderr) << "cannot write " << path << '\n';
    return false;
  }
  QTextStream(stdout) << path << '\n';
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    QTextStream(stderr) << "usage: vaskel_render_pages <png folder> <destination>\n";
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QString destination = QString::fromLocal8Bit(argv[2]);
  if (!QDir().mkpath(folder.path()) || !QDir().mkpath(destination)) {
    QTextStream(stderr) << "cannot create " << folder.path() << " or " << destination << '\n';
    return 1;
  }

  Vaskel wizard;
  wizard.show();
  // The .wrproject, the workspace and the name follow from the project.
  wizard.ProjectEdit->setText(QDir::toNativeSeparators("examples/workbench/Sensor/.project"));
  wizard.OlvProjectEdit->setText(QDir::toNativeSeparators(destination));
  wizard.cCheck->setChecked(true);
  wizard.hCheck->setChecked(true);
  wizard.WorkbenchBox->setChecked(true);
  wizard.CdbCheck->setChecked(true);
  if (!waitForAnswer(wizard)) return 1;
  wizard.TargetCombo->setCurrentIndex(wizard.TargetCombo->findText(QStringLiteral("sensor_app")));
  // The same picture whatever the environment holds.
  const QList<QTableWidgetItem*> windBase =
      wizard.VariablesTable->findItems(QStringLiteral("WIND_BASE"), Qt::MatchExactly);
  if (!windBase.isEmpty())
    wizard.VariablesTable->item(windBase.first()->row(), 1)->setText(QStringLiteral("/opt/windriver/vxworks"));
  if (!waitForAnswer(wizard)) return 1;

  for (int page = 0; page < 4; ++page) {
    if (page == 2) {
      // The table from its first row, once its page shows it.
      QApplication::processEvents();
      wizard.VariablesTable->scrollToTop();
    }
    if (!save(wizard, folder, QStringLiteral("vaskel_page%1.png").arg(page))) return 1;
    if (page < 3) wizard.next();
  }

  // The first page again, with every project of the example workspace.
  Vaskel whole;
  whole.show();
  whole.Page0WorkspaceRadio->setChecked(true);
  whole.WRWorkspaceDirEdit->setText(QDir::toNativeSeparators("examples/fleet"));
  whole.OlvProjectEdit->setText(QDir::toNativeSeparators(destination));
  if (!waitForAnswer(whole)) return 1;
  return save(whole, folder, QStringLiteral("vaskel_page0_workspace.png")) ? 0 : 1;
}
