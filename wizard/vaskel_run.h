// A conversion: the converter started with the fields as its command line,
// its output logged line by line as it arrives (warnings set apart and
// counted), and its end judged: a run succeeds only when the converter ended
// normally with status 0 and wrote a project file, and a failure shows its
// message box. The last page's buttons follow the run: while it runs there
// is no way Back, a bar moves and Cancel stops it; after a success Cancel
// reads Close and an Open Folder button shows the destination.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <QTextCharFormat>

class QLabel;
class QProgressBar;
class QTextBrowser;
class QWizard;
class QWizardPage;

class ConversionRun : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    QWizardPage* page;
    QTextBrowser* log;
    QProgressBar* progress;
    QLabel* status;
  };

  ConversionRun(QWizard* wizard, const Widgets& widgets);

  // Starts `program arguments`. The run is to write `name`.prj into
  // `destination`; the log names that file when it writes none.
  void start(const QString& program, const QStringList& arguments, const QString& destination,
             const QString& name);
  // Starts a workspace run: each of `projectFiles` (one per project to
  // convert) must be written by it for the run to succeed. Each project's
  // heading and the summary at the end stand out in the log.
  void startWorkspace(const QString& program, const QStringList& arguments,
                      const QString& destination, const QStringList& projectFiles);
  // Stops a run under way without a report: nothing more is logged or shown.
  void stop();

  // The process of the most recent run, a child of the wizard.
  QProcess* process() const { return converter; }
  bool running() const { return isRunning; }

 signals:
  // The converter ended and the run has been judged.
  void ended();

 private:
  // Logs the lines the converter has completed so far; the rest waits for
  // its line end.
  void readOutput();
  // Ends the run the converter ended: the rest of its output, the verdict
  // and the count of warnings in the log, the message box of a failure.
  void finish();

  // What lay at a path, to tell a file this run wrote from an older one.
  struct FileState {
    bool exists = false;
    QDateTime modified;
    QDateTime born;
    qint64 size = -1;
    bool operator==(const FileState&) const = default;
  };
  static FileState fileState(const QString& path);
  QHash<QString, FileState> projectFileStates() const;
  bool projectFileWritten() const;
  // The workspace run's project files that it did not write.
  QStringList workspaceFilesMissing() const;

  void launch(const QString& program, const QStringList& arguments, const QString& destination,
              const QString& name);
  void failedToStart(QProcess::ProcessError error);
  void setRunning(bool running);
  void updateCancelButton();
  void logText(const QString& text, const QTextCharFormat& format = QTextCharFormat());
  void logOutputLine(const QString& line);
  void showOpenFolder(bool shown);
  void openFolder();

  QWizard* wizard;
  Widgets w;
  QProcess* converter = nullptr;
  bool isRunning = false;
  bool succeeded = false;
  QString ownCancelText;
  // The destination of the most recent run, which Open Folder shows.
  QString destination;
  // The project file the run is to write, and the project files that lay
  // in the destination before it.
  QString expectedProjectFile;
  QHash<QString, FileState> projectFilesBefore;
  // A workspace run's project files, one per project; empty for one project.
  QStringList workspaceFiles;
  QHash<QString, FileState> workspaceFilesBefore;
  // Decodes the converter's output across deliveries, so a character split
  // between two reads comes out whole.
  QStringDecoder decoder;
  // Output after the last complete line, held until its line ends.
  QString partialLine;
  int warningCount = 0;
};
