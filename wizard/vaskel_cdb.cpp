// Page 2's compilation database: a check box that adds -cdb FILE to the
// conversion, the file <destination>/compile_commands.json until the user
// types or browses another, and a Next that waits for a file when it is on.
#include <QDir>
#include <QFileDialog>

#include "vaskel.h"

void Vaskel::setUpCompilationDatabase() {
  CdbEdit->setEnabled(false);
  CdbBrowseBtn->setEnabled(false);
  connect(CdbCheck, &QCheckBox::toggled, this, [this](bool on) {
    CdbEdit->setEnabled(on);
    CdbBrowseBtn->setEnabled(on);
    Page2Check();
  });
  connect(CdbEdit, &QLineEdit::textChanged, this, &Vaskel::Page2Check);
  connect(CdbEdit, &QLineEdit::textEdited, this,
          [this](const QString& text) { cdbFollowsDestination = text == defaultCdbFile(); });
  connect(CdbBrowseBtn, &QPushButton::clicked, this, &Vaskel::CdbBrowseBtn_clicked);
  connect(OlvProjectEdit, &QLineEdit::textChanged, this, &Vaskel::followDestination);
}

QString Vaskel::defaultCdbFile() const {
  const QString destination = OlvProjectEdit->text();
  if (destination.isEmpty()) return QString();
  return QDir::toNativeSeparators(
      QDir::cleanPath(destination + QStringLiteral("/compile_commands.json")));
}

void Vaskel::followDestination() {
  if (cdbFollowsDestination) CdbEdit->setText(defaultCdbFile());
}


void Vaskel::CdbBrowseBtn_clicked() {
  QFileDialog dialog(this, tr("Select the Compilation Database File"), browseStart(),
                     tr("Compilation databases (*.json)"));
  dialog.setObjectName(QStringLiteral("save file dialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  takeBrowsed(dialog.selectedFiles().constFirst(), CdbEdit);
  cdbFollowsDestination = CdbEdit->text() == defaultCdbFile();
}
