#include "vaskel_browse.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

PathBrowser::PathBrowser(QWidget* parentWidget)
    : lastPath(QDir::toNativeSeparators(QStringLiteral("/"))), parent(parentWidget) {}

// The folder the next dialog opens in. Given the last file itself, the dialog
// would also preselect it, even in a dialog that asks for another kind of file.
QString PathBrowser::start() const {
  const QFileInfo last(lastPath);
  return last.isDir() ? lastPath : QDir::toNativeSeparators(last.absolutePath());
}

void PathBrowser::chooseFile(QLineEdit* field, const QString& caption, const QString& filter) {
  QFileDialog dialog(parent, caption, start(), filter);
  dialog.setObjectName(QStringLiteral("open file dialog"));
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  take(dialog.selectedFiles().constFirst(), field);
}

void PathBrowser::chooseFolder(QLineEdit* field, const QString& caption) {
  QFileDialog dialog(parent, caption, start());
  dialog.setObjectName(QStringLiteral("get existing directory"));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  take(dialog.selectedFiles().constFirst(), field);
}

QString PathBrowser::chooseFileToWrite(const QString& caption, const QString& filter) {
  QFileDialog dialog(parent, caption, start(), filter);
  dialog.setObjectName(QStringLiteral("save file dialog"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  lastPath = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
  return lastPath;
}

void PathBrowser::take(const QString& path, QLineEdit* field) {
  const QString native = QDir::toNativeSeparators(path);
  if (native.isEmpty()) return;
  lastPath = native;
  field->setText(native);
}
