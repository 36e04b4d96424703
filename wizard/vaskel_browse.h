// The browse dialogs: each opens in the folder of the path chosen last, and
// a path chosen goes into its field in the system's own spelling.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

class PathBrowser {
 public:
  explicit PathBrowser(QWidget* parent);

  // Lets the user pick an existing file, or a folder, for `field`; a dialog
  // cancelled changes nothing.
  void chooseFile(QLineEdit* field, const QString& caption, const QString& filter);
  void chooseFolder(QLineEdit* field, const QString& caption);
  // A file to write, which may not exist yet; empty when cancelled.
  QString chooseFileToWrite(const QString& caption, const QString& filter);

  // Where the next dialog opens: the path chosen last.
  QString lastPath;

 private:
  QString start() const;
  void take(const QString& path, QLineEdit* field);

  QWidget* parent;
};
