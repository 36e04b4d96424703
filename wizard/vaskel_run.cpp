#include "vaskel_run.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>
#include <QWizard>
#include <utility>

#include "vaskel_status.h"
#include "vaskel_warnings.h"

namespace {

QTextCharFormat warningFormat() {
  QTextCharFormat format;
  format.setForeground(QColor(176, 80, 0));  // dark orange: apart from the text, not an error
  format.setFontWeight(QFont::Bold);
  return format;
}

QTextCharFormat errorFormat() {
  QTextCharFormat format;
  format.setForeground(QColor(200, 0, 0));
  format.setFontWeight(QFont::Bold);
  return format;
}

QTextCharFormat landmarkFormat() {
  QTextCharFormat format;
  format.setFontWeight(QFont::Bold);
  return format;
}

// A project's heading ("Project 2 of 3: Lib (ws/Lib)") or the summary's
// first line: where the eye looks for a project in a long log.
bool isWorkspaceLandmark(const QString& line) {
  static const QRegularExpression heading(QStringLiteral("^Project \\d+ of \\d+: "));
  return heading.match(line).hasMatch() || line.startsWith(QLatin1String("Workspace: "));
}

}  // namespace

ConversionRun::ConversionRun(QWizard* owner, const Widgets& widgets)
    : QObject(owner), wizard(owner), w(widgets), decoder(QStringConverter::System) {
  // Shown on the last page after a successful run only.
  wizard->setButtonText(QWizard::CustomButton1, tr("Open Folder"));
  QAbstractButton* open = wizard->button(QWizard::CustomButton1);
  open->setObjectName(QStringLiteral("OpenFolderBtn"));
  open->setToolTip(tr("Show the destination folder in the file manager."));
  connect(wizard, &QWizard::customButtonClicked, this, [this](int which) {
    if (which == QWizard::CustomButton1) openFolder();
  });
  connect(wizard, &QWizard::currentIdChanged, this, [this] {
    if (wizard->currentPage() != w.page) showOpenFolder(false);
  });
  ownCancelText = wizard->buttonText(QWizard::CancelButton);
  w.progress->hide();
  updateCancelButton();
}

void ConversionRun::start(const QString& program, const QStringList& arguments,
                          const QString& runDestination, const QString& name) {
  workspaceFiles.clear();
  workspaceFilesBefore.clear();
  launch(program, arguments, runDestination, name);
}

void ConversionRun::startWorkspace(const QString& program, const QStringList& arguments,
                                   const QString& runDestination, const QStringList& projectFiles) {
  workspaceFiles = projectFiles;
  workspaceFilesBefore.clear();
  for (const QString& file : projectFiles) workspaceFilesBefore.insert(file, fileState(file));
  launch(program, arguments, runDestination, QString());
}

void ConversionRun::launch(const QString& program, const QStringList& arguments,
                           const QString& runDestination, const QString& name) {
  converter = new QProcess(wizard);
  w.log->clear();
  w.log->setPlainText(QStringLiteral("Initialising Project Conversion ...\n"));
  decoder = QStringDecoder(QStringConverter::System);
  partialLine.clear();
  warningCount = 0;
  destination = runDestination;
  showOpenFolder(false);
  succeeded = false;
  // The converter names the file after the project, as the Name field shows
  // it once the converter has answered.
  expectedProjectFile = QDir(destination).filePath(name + QStringLiteral(".prj"));
  projectFilesBefore = projectFileStates();

  connect(converter, &QProcess::readyReadStandardOutput, this, &ConversionRun::readOutput);
  connect(converter, &QProcess::finished, this, [this] {
    finish();
    emit ended();
  });
  connect(converter, &QProcess::errorOccurred, this, &ConversionRun::failedToStart);
  converter->start(program, arguments);
  // A start that fails may already have been reported from inside start().
  if (converter->state() != QProcess::NotRunning) setRunning(true);
}

void ConversionRun::setRunning(bool running) {
  isRunning = running;
  // One conversion at a time: no way back to Page 2 (and to a second Finish)
  // until this one has ended.
  wizard->button(QWizard::BackButton)->setEnabled(!running);
  w.progress->setVisible(running);
  showStatus(w.status,
             running ? tr("Plovik is converting the project ...")
                     : tr("Back, then Next, prepares another run."),
             false);
  updateCancelButton();
}

// The button closes the wizard in every state; while a run is under way it
// stops the run first, and says so.
void ConversionRun::updateCancelButton() {
  const bool closes = succeeded && !isRunning;
  wizard->setButtonText(QWizard::CancelButton, closes ? QStringLiteral("Close") : ownCancelText);
  wizard->button(QWizard::CancelButton)
      ->setToolTip(isRunning   ? tr("Stop Plovik and close the wizard.")
                   : succeeded ? tr("Close the wizard.")
                               : tr("Close the wizard without converting."));
}

ConversionRun::FileState ConversionRun::fileState(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {true, info.lastModified(), info.birthTime(), info.size()};
}

QHash<QString, ConversionRun::FileState> ConversionRun::projectFileStates() const {
  QHash<QString, FileState> states;
  const QDir folder(destination);
  for (const QString& name : folder.entryList({QStringLiteral("*.prj")}, QDir::Files | QDir::Hidden))
    states.insert(folder.filePath(name), fileState(folder.filePath(name)));
  return states;
}

// An exit status of 0 alone does not show that the project was converted: a
// value the converter took for an option (-describe, say) ends it with 0
// before it writes anything. A run started before the converter's answer
// named the project may have used another name than the field's: any
// project file this run wrote into the destination counts.
bool ConversionRun::projectFileWritten() const {
  const QHash<QString, FileState> after = projectFileStates();
  for (auto file = after.cbegin(); file != after.cend(); ++file) {
    if (!(projectFilesBefore.value(file.key()) == file.value())) return true;
  }
  return false;
}

QStringList ConversionRun::workspaceFilesMissing() const {
  QStringList missing;
  for (const QString& file : workspaceFiles) {
    const FileState after = fileState(file);
    if (!after.exists || after == workspaceFilesBefore.value(file)) missing << file;
  }
  return missing;
}

void ConversionRun::failedToStart(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  logText(QStringLiteral(
      "Project Conversion could not be executed: Please ensure Plovik.exe is set on the path.\n"));
  setRunning(false);
}

// Appends a paragraph at the end of the log, keeping the view at the end
// when it was there.
void ConversionRun::logText(const QString& text, const QTextCharFormat& format) {
  QScrollBar* bar = w.log->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextCursor cursor(w.log->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock(QTextBlockFormat(), format);
  cursor.insertText(text, format);
  if (atEnd) bar->setValue(bar->maximum());
}

void ConversionRun::logOutputLine(const QString& line) {
  if (isConverterWarning(line)) {
    ++warningCount;
    logText(warningForTheWizard(line), warningFormat());
  } else if (!workspaceFiles.isEmpty() && isWorkspaceLandmark(line)) {
    logText(line, landmarkFormat());
  } else {
    logText(line);
  }
}

void ConversionRun::readOutput() {
  // Whole lines only, so that a warning split between two deliveries is
  // still seen as one; the rest waits for its line end.
  partialLine += decoder.decode(converter->readAllStandardOutput());
  qsizetype start = 0;
  for (qsizetype end; (end = partialLine.indexOf(u'\n', start)) >= 0; start = end + 1) {
    QString line = partialLine.mid(start, end - start);
    if (line.endsWith(u'\r')) line.chop(1);
    logOutputLine(line);
  }
  partialLine.remove(0, start);
}

void ConversionRun::finish() {
  setRunning(false);
  readOutput();
  if (!partialLine.isEmpty()) logOutputLine(std::exchange(partialLine, QString()));
  const bool normalExit = converter->exitStatus() == QProcess::NormalExit;
  succeeded = normalExit && converter->exitCode() == 0;
  if (succeeded && !workspaceFiles.isEmpty()) {
    // Every project the run was to convert must have its project file anew.
    for (const QString& file : workspaceFilesMissing()) {
      succeeded = false;
      logText(tr("Plovik ended with exit status 0 but did not write the project file %1: the "
                 "project was not converted.")
                  .arg(QDir::toNativeSeparators(file)),
              errorFormat());
    }
  } else if (succeeded && !projectFileWritten()) {
    succeeded = false;
    logText(tr("Plovik ended with exit status 0 but did not write the project file %1: the "
               "project was not converted.")
                .arg(QDir::toNativeSeparators(expectedProjectFile)),
            errorFormat());
  }
  updateCancelButton();
  if (succeeded) logText(QStringLiteral("Project Converted Successfully!"));
  if (warningCount > 0) {
    logText(warningCount == 1 ? QStringLiteral("1 warning")
                              : QStringLiteral("%1 warnings").arg(warningCount),
            warningFormat());
  }
  if (succeeded) showOpenFolder(true);
  if (normalExit && !succeeded) {
    QMessageBox::about(
        nullptr, QStringLiteral("Vaskel"),
        QStringLiteral("Project Conversion Failed!\nPlease check the details log and try again."));
  }
}

void ConversionRun::stop() {
  if (!converter) return;
  // Cancelling is no end of the conversion: nothing more is shown or saved.
  disconnect(converter, nullptr, this, nullptr);
#ifndef Q_OS_WIN
  // Asked to stop first, the converter removes its temporary files; only
  // one that does not end within a second is killed.
  converter->terminate();
  if (!converter->waitForFinished(1000))
#endif
    converter->kill();
  converter->waitForFinished(1000);
}

void ConversionRun::showOpenFolder(bool shown) { wizard->setOption(QWizard::HaveCustomButton1, shown); }

void ConversionRun::openFolder() {
  // Relative to the current directory, as the converter took it.
  const QString folder = QFileInfo(destination).absoluteFilePath();
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
    logText(QStringLiteral("Could not open the folder ") + QDir::toNativeSeparators(folder));
}
