// Running the converter: Finish starts Plovik with the fields as its command
// line, its output goes into the details log, and its exit status decides
// between the success line and the failure message box.
#include <QAbstractButton>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextCursor>
#include <QUrl>
#include <utility>

#include "vaskel.h"

namespace {

const QLatin1String kWarningStart("Warning: ");

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

// The converter's advice for an unresolved variable names its command-line
// option, which a wizard user cannot type; the log says where to give it here.
QString forTheWizard(const QString& warning) {
  static const QRegularExpression advice(QStringLiteral(R"( \(give it with -var [^=\s]+=\.\.\.\)$)"));
  QString line = warning;
  return line.replace(advice, QObject::tr(" (type its value into the Variables table on the previous page)"));
}

}  // namespace

QStringList Vaskel::conversionArguments(bool forDescribe) const {
  QStringList arguments{ProjectEdit->text(), WRProjectEdit->text(), WRWorkspaceDirEdit->text(),
                        OlvProjectEdit->text(), QStringLiteral("-pn"), OlvNameEdit->text()};
  // A question about the project may come before Page 2 is left: it takes
  // the extensions as the boxes stand.
  const std::pair<const char*, QString> options[] = {
      {"-mp", MsgPersonEdit->text()},
      {"-ap", AnalPersonEdit->text()},
      {"-cp", CmpPersonEdit->text()},
      {"-ext", forDescribe ? currentExtensionList() : extensionList},
      {"-cdb", CdbCheck->isChecked() ? CdbEdit->text() : QString()}};
  for (const auto& [option, value] : options) {
    if (!value.isEmpty()) arguments << QLatin1String(option) << value;
  }
  return arguments + workbenchArguments();
}

void Vaskel::accept() {
  converterProcess = new QProcess(this);
  const QStringList arguments = conversionArguments();

  DetailsText->clear();
  DetailsText->setPlainText(QStringLiteral("Initialising Project Conversion ...\n"));
  outputDecoder = QStringDecoder(QStringConverter::System);
  partialLine.clear();
  warningCount = 0;
  runDestination = OlvProjectEdit->text();
  showOpenFolder(false);
  lastRunSucceeded = false;
  // The converter names the file after the project, as the Name field shows
  // it once the converter has answered.
  expectedProjectFile =
      QDir(OlvProjectEdit->text()).filePath(OlvNameEdit->text() + QStringLiteral(".prj"));
  projectFilesBefore = projectFileStates();

  connect(converterProcess, &QProcess::readyReadStandardOutput, this, &Vaskel::readFromStdout);
  connect(converterProcess, &QProcess::finished, this, &Vaskel::processExit);
  connect(converterProcess, &QProcess::errorOccurred, this, &Vaskel::processError);

  Page3->setComplete(false);
  converterProcess->start(converterPath, arguments);
  // A start that fails may already have been reported from inside start().
  if (converterProcess->state() != QProcess::NotRunning) setConverterRunning(true);
}

void Vaskel::setConverterRunning(bool running) {
  converterRunning = running;
  // One conversion at a time: no way back to Page 2 (and to a second Finish)
  // until this one has ended.
  button(QWizard::BackButton)->setEnabled(!running);
  RunProgressBar->setVisible(running);
  showPageStatus(Page3StatusLabel,
                 running ? tr("Plovik is converting the project ...")
                         : tr("Back, then Next, prepares another run."),
                 false);
  updateCancelButton();
}

// The button closes the wizard in every state; while a run is under way it
// stops the run first, and says so.
void Vaskel::updateCancelButton() {
  const bool closes = lastRunSucceeded && !converterRunning;
  setButtonText(QWizard::CancelButton, closes ? QStringLiteral("Close") : ownCancelText);
  button(QWizard::CancelButton)
      ->setToolTip(converterRunning   ? tr("Stop Plovik and close the wizard.")
                   : lastRunSucceeded ? tr("Close the wizard.")
                                      : tr("Close the wizard without converting."));
}

Vaskel::FileState Vaskel::fileState(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {true, info.lastModified(), info.birthTime(), info.size()};
}

QHash<QString, Vaskel::FileState> Vaskel::projectFileStates() const {
  QHash<QString, FileState> states;
  const QDir destination(runDestination);
  for (const QString& name : destination.entryList({QStringLiteral("*.prj")}, QDir::Files | QDir::Hidden))
    states.insert(destination.filePath(name), fileState(destination.filePath(name)));
  return states;
}

// An exit status of 0 alone does not show that the project was converted: a
// value the converter took for an option (-describe, say) ends it with 0
// before it writes anything. A run started before the converter's answer
// named the project may have used another name than the field's: any
// project file this run wrote into the destination counts.
bool Vaskel::projectFileWritten() const {
  const QHash<QString, FileState> after = projectFileStates();
  for (auto file = after.cbegin(); file != after.cend(); ++file) {
    if (!(projectFilesBefore.value(file.key()) == file.value())) return true;
  }
  return false;
}

void Vaskel::processError(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  logText(QStringLiteral(
      "Project Conversion could not be executed: Please ensure Plovik.exe is set on the path.\n"));
  setConverterRunning(false);
}

// Appends a paragraph at the end of the log, keeping the view at the end
// when it was there.
void Vaskel::logText(const QString& text, const QTextCharFormat& format) {
  QScrollBar* bar = DetailsText->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextCursor cursor(DetailsText->document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertBlock(QTextBlockFormat(), format);
  cursor.insertText(text, format);
  if (atEnd) bar->setValue(bar->maximum());
}

void Vaskel::logOutputLine(const QString& line) {
  if (line.startsWith(kWarningStart)) {
    ++warningCount;
    logText(forTheWizard(line), warningFormat());
  } else {
    logText(line);
  }
}

void Vaskel::readFromStdout() {
  // Whole lines only, so that a warning split between two deliveries is
  // still seen as one; the rest waits for its line end.
  partialLine += outputDecoder.decode(converterProcess->readAllStandardOutput());
  qsizetype start = 0;
  for (qsizetype end; (end = partialLine.indexOf(u'\n', start)) >= 0; start = end + 1) {
    QString line = partialLine.mid(start, end - start);
    if (line.endsWith(u'\r')) line.chop(1);
    logOutputLine(line);
  }
  partialLine.remove(0, start);
}

void Vaskel::processExit() {
  setConverterRunning(false);
  readFromStdout();
  if (!partialLine.isEmpty()) logOutputLine(std::exchange(partialLine, QString()));
  const bool normalExit = converterProcess->exitStatus() == QProcess::NormalExit;
  bool succeeded = normalExit && converterProcess->exitCode() == 0;
  if (succeeded && !projectFileWritten()) {
    succeeded = false;
    logText(tr("Plovik ended with exit status 0 but did not write the project file %1: the "
               "project was not converted.")
                .arg(QDir::toNativeSeparators(expectedProjectFile)),
            errorFormat());
  }
  lastRunSucceeded = succeeded;
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
  saveSettings();
}

void Vaskel::showOpenFolder(bool shown) { setOption(QWizard::HaveCustomButton1, shown); }

void Vaskel::OpenFolderBtn_clicked() {
  // Relative to the current directory, as the converter took it.
  const QString folder = QFileInfo(runDestination).absoluteFilePath();
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
    logText(QStringLiteral("Could not open the folder ") + QDir::toNativeSeparators(folder));
}

void Vaskel::reject() {
  describeDelay.stop();
  describeRun->cancel();
  if (converterProcess) {
    // Cancelling is no exit of the conversion: nothing more is shown or saved.
    disconnect(converterProcess, nullptr, this, nullptr);
#ifndef Q_OS_WIN
    // Asked to stop first, the converter removes its temporary files; only
    // one that does not end within a second is killed.
    converterProcess->terminate();
    if (!converterProcess->waitForFinished(1000))
#endif
      converterProcess->kill();
    converterProcess->waitForFinished(1000);
  }
  VaskelBase::reject();
}
