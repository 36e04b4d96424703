// Renders each of the wizard's four pages to a PNG file, filled in as for a
// conversion of the example workbench project into <destination> (created when
// missing), with the real-project mode on. Run from the repository's top
// folder:
//   vaskel_render_pages <png folder> <destination>
#include <QApplication>
#include <QDir>
#include <QTextStream>

#include "vaskel.h"

namespace {

bool save(Vaskel& wizard, const QDir& folder, int page) {
  QApplication::processEvents();
  const QString path = folder.filePath(QStringLiteral("vaskel_page%1.png").arg(page));
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
  // The same picture whatever the environment holds.
  wizard.VariablesTable->item(0, 1)->setText(QStringLiteral("/opt/windriver/vxworks"));

  for (int page = 0; page < 4; ++page) {
    if (!save(wizard, folder, page)) return 1;
    if (page < 3) wizard.next();
  }
  return 0;
}
