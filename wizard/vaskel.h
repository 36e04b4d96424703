// The wizard's controller: checks the pages as the user types, offers the
// browse dialogs, fills the first page from a chosen project, remembers paths
// and choices in "settings.txt", builds the summary and runs the converter
// Plovik with a command line made from the fields.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QTextCharFormat>

#include "vaskel_base.h"

class Vaskel : public VaskelBase {
  Q_OBJECT

 public:
  explicit Vaskel(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                  Qt::WindowFlags flags = {});

  bool eventFilter(QObject* watched, QEvent* event) override;

  // "Plovik" beside the program in `folder` when it is there, otherwise the
  // bare name, which the program search then resolves.
  static QString locateConverter(const QString& folder);

  // Built when Next leaves Page 2; shown in the summary and given to -ext.
  QString extensionList;
  // The process of the most recent conversion, a child of the wizard.
  QProcess* converterProcess = nullptr;
  // Where the next browse dialog opens: the path chosen last.
  QString lastPath;
  // The converter that Finish starts.
  QString converterPath;

 public slots:
  void ProjectBrowseBtn_clicked();
  void WRProjectBrowseBtn_clicked();
  void WRWorkspaceBrowseBtn_clicked();
  void OlvProjectBrowseBtn_clicked();
  void Page0LineEdit_textchanged(const QString&);
  void Page1LineEdit_textchanged(const QString&);
  void MsgBrowseBtn_clicked();
  void AnalBrowseBtn_clicked();
  void CmpBrowseBtn_clicked();
  void readFromStdout();
  void processExit();
  // Fills the empty Page 0 fields from the project file the text names.
  void ProjectEdit_textchanged(const QString& text);
  // Keeps one empty row at the end of the variables table to type into.
  void VariablesTable_itemChanged();
  // The button shown after a successful run: the destination in the file manager.
  void OpenFolderBtn_clicked();

 protected slots:
  void accept() override;
  void reject() override;

 protected:
  // Leaving Page 2 by Next builds the extension list and the summary.
  bool validateCurrentPage() override;
  // Entering Page 2 reads the build specs of the chosen .wrproject.
  void initializePage(int id) override;

 private:
  void loadSettings();
  void saveSettings();
  void processError(QProcess::ProcessError error);
  void buildExtensionList();
  QString summary() const;
  QString browseStart() const;
  QString browseFile(const QString& caption, const QString& filter);
  QString browseFolder(const QString& caption);
  void takeBrowsed(const QString& path, QLineEdit* field);
  void setConverterRunning(bool running);

  void fillFromProject(QLineEdit* field, const QString& value);
  static QString droppedProject(const class QMimeData* data);
  bool page0DragEvent(QEvent* event);

  void setUpWorkbenchMode();
  void refreshBuildSpecs();
  void addVariableRow(const QString& name, const QString& value);
  QStringList variableAssignments() const;
  QStringList workbenchArguments() const;
  QString workbenchSummary() const;

  void logText(const QString& text, const QTextCharFormat& format = QTextCharFormat());
  void logOutputLine(const QString& line);
  void showOpenFolder(bool shown);

  // What each Page 0 field was last given by a project, to tell it from
  // what the user typed.
  QHash<QLineEdit*, QString> filledFromProject;
  // The .wrproject the build spec list was read from, and when it was changed then.
  QString specsReadFrom;
  QDateTime specsReadModified;
  // The build spec from the settings file, chosen when the list holds it.
  QString rememberedSpec;
  // Output after the last complete line, held until its line ends.
  QString partialLine;
  int warningCount = 0;
  // The destination of the most recent run, which the open button shows.
  QString runDestination;

  // Decodes the converter's output across deliveries, so a character split
  // between two reads comes out whole.
  QStringDecoder outputDecoder;
};
