// The wizard's controller: checks the pages as the user types, offers the
// browse dialogs, fills the first page from a chosen project, asks the
// converter what it makes of the chosen files and fills the name, the build
// specs, the build targets and the variables from its answer, remembers paths
// and choices in "settings.txt", builds the summary and runs the converter
// Plovik with a command line made from the fields.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QTextCharFormat>
#include <QTimer>
#include <optional>

#include "vaskel_base.h"
#include "vaskel_describe.h"

class QTableWidgetItem;

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
  // The converter that Finish starts and that is asked about the project.
  QString converterPath;
  // Runs `Plovik ... -describe` whenever its arguments change, once the
  // fields have been still for the delay's interval.
  DescribeRun* describeRun = nullptr;
  QTimer describeDelay;
  // The converter's latest answer about the chosen project, if any.
  std::optional<ProjectDescription> description;

  // True while the converter is being asked, or is about to be.
  bool describing() const;
  // The command line of a conversion, without the program; `forDescribe`
  // takes the extensions as Page 2's boxes stand, before Next has made the list.
  QStringList conversionArguments(bool forDescribe = false) const;

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
  // A value typed into the variables table is the user's own (-var).
  void VariablesTable_itemChanged(QTableWidgetItem* item);
  void CdbBrowseBtn_clicked();
  // The button shown after a successful run: the destination in the file manager.
  void OpenFolderBtn_clicked();
  // Makes the folder chosen among those above the .project the workspace.
  void WorkspaceOfferBtn_clicked();

 protected slots:
  void accept() override;
  void reject() override;

 protected:
  // Leaving Page 2 by Next builds the extension list and the summary.
  bool validateCurrentPage() override;
  // Coming back to the window checks the paths again: a folder made in a
  // terminal meanwhile counts at once.
  void changeEvent(QEvent* event) override;

 private:
  void loadSettings();
  void saveSettings();
  void processError(QProcess::ProcessError error);
  QString currentExtensionList() const;
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
  void enableModeLists();
  QStringList variableAssignments() const;
  QStringList workbenchArguments() const;
  QString workbenchSummary() const;
  void Page2Check();

  // What keeps each page's Next disabled, in words; empty when nothing does.
  QString page0Problem() const;
  QString page1Problem() const;
  QString page2Problem() const;
  void showPageStatus(QLabel* label, const QString& text, bool problem = true);
  void offerWorkspaces();
  // Whether each path field names something that exists, to notice a change.
  QString pathsPresent() const;

  // Asking the converter and taking its answer.
  void setUpDescribe();
  void scheduleDescribe();
  void startDescribe();
  void takeDescription(const ProjectDescription& answer);
  void takeNoAnswer(const QString& why);
  void showDescribeStatus(const QString& text, bool problem);
  void fillName(bool namedByProject, const QString& name);
  void fillSpecs(const QStringList& known, const QString& defaultSpec);
  void fillTargets(const QStringList& known);
  void fillVariables(const QList<DescribedVariable>& variables, bool expanded);

  // The compilation database.
  void setUpCompilationDatabase();
  QString defaultCdbFile() const;
  void followDestination();

  void logText(const QString& text, const QTextCharFormat& format = QTextCharFormat());
  void updateCancelButton();
  // Whether the run wrote the project file it was asked for.
  bool projectFileWritten() const;
  void logOutputLine(const QString& line);
  void showOpenFolder(bool shown);

  // What each Page 0 field was last given by a project, to tell it from
  // what the user typed.
  QHash<QLineEdit*, QString> filledFromProject;
  // The arguments of the latest question to the converter (empty: none asked).
  QStringList askedArguments;
  // The name the user typed, kept while the .project names the project.
  QString typedName;
  bool nameFromProject = false;
  // Variable values the user gave, by name; passed as -var.
  QHash<QString, QString> givenValues;
  // The build spec and target from the settings file, chosen when the lists hold them.
  QString rememberedSpec;
  QString rememberedTarget;
  // The database file is <destination>/compile_commands.json until the user
  // chooses another.
  bool cdbFollowsDestination = true;
  // Output after the last complete line, held until its line ends.
  QString partialLine;
  int warningCount = 0;
  // The destination of the most recent run, which the open button shows.
  QString runDestination;
  bool converterRunning = false;
  bool lastRunSucceeded = false;
  QString ownCancelText;
  // The project file the run is to write, and what lay there before it.
  struct FileState {
    bool exists = false;
    QDateTime modified;
    QDateTime born;
    qint64 size = -1;
    bool operator==(const FileState&) const = default;
  };
  static FileState fileState(const QString& path);
  QHash<QString, FileState> projectFileStates() const;
  QString expectedProjectFile;
  QHash<QString, FileState> projectFilesBefore;
  QString lastPathsPresent;

  // Decodes the converter's output across deliveries, so a character split
  // between two reads comes out whole.
  QStringDecoder outputDecoder;
};
